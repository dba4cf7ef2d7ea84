#pragma once
// The application object, its message loop and the framework's global helpers.
#include <string>
#include <vector>

#include "framework/message_map.h"

class CDocTemplate;
class CWnd;

// What the command line asks for; only "new document" is ever used.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing };
    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    virtual ~CCommandLineInfo() = default;
};

class CWinApp : public CCmdTarget {
public:
    // `appName` names the application in message box captions; without it the title string
    // (AFX_IDS_APP_TITLE) or else the module's file name is used.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWDEFAULT;
    std::string m_appName;
    std::string m_registryKey;  // set by SetRegistryKey

    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return 0; }
    virtual int Run();
    virtual bool PreTranslateMessage(MSG* msg);
    // Idle-time work (control bar updates); return true while more is wanted.
    virtual bool OnIdle(long count);

    void ParseCommandLine(CCommandLineInfo& info);
    bool ProcessShellCommand(CCommandLineInfo& info);
    void SetRegistryKey(const char* company);
    void LoadStdProfileSettings(unsigned maxRecentFiles = 4);
    void AddDocTemplate(CDocTemplate* docTemplate);

    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnAppExit();

protected:
    std::vector<CDocTemplate*> m_templates;
    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
const char* AfxGetAppName();
// The module (program or library) this copy of the framework is linked into.
HINSTANCE AfxGetResourceHandle();
int AfxMessageBox(const char* text, UINT type = MB_OK);
int AfxMessageBox(UINT stringId, UINT type = MB_OK);
std::string AfxLoadString(UINT id);

// Kept for the shape of start-up; controls need no container or 3-D setup here.
inline void AfxEnableControlContainer() {}
inline void Enable3dControlsStatic() {}

// Runs the application object's start-up, loop and exit (called from WinMain).
int AfxWinMain(HINSTANCE instance, int cmdShow);
