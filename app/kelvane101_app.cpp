#include "app/kelvane101_app.h"

#include "app/kelvane101_doc.h"
#include "app/kelvane101_view.h"
#include "app/library_search.h"
#include "app/main_frame.h"
#include "chrome/about_dialog.h"
#include "res/resource.h"

CKelvane101App theApp;

BEGIN_MESSAGE_MAP(CKelvane101App, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

void CKelvane101App::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}

bool CKelvane101App::InitInstance() {
    CCommandLineInfo scratch;  // parsed and dropped: the command line changes nothing
    ParseCommandLine(scratch);

    AfxEnableControlContainer();
    Enable3dControlsStatic();

    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CKelvane101Doc),
                                          RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CKelvane101View)));

    CCommandLineInfo commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine)) return false;

    m_pMainWnd->ShowWindow(SW_HIDE);
    m_pMainWnd->UpdateWindow();
    return true;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int cmdShow) {
    LibrarySearch::LimitToProgramAndSystemFolders();
    return AfxWinMain(instance, cmdShow);
}
