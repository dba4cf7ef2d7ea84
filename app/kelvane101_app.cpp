#include "app/kelvane101_app.h"

#include "app/kelvane101_doc.h"
#include "app/kelvane101_view.h"
#include "app/main_frame.h"
#include "res/resource.h"

CKelvane101App theApp;

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
    return AfxWinMain(instance, cmdShow);
}
