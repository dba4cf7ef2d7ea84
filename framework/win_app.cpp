#include "framework/win_app.h"

#include <commctrl.h>

#include "framework/doc_template.h"
#include "framework/resource_ids.h"
#include "framework/wnd.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
CWinApp* g_app = nullptr;
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* appName) {
    g_app = this;
    m_hInstance = AfxGetResourceHandle();
    if (appName) m_appName = appName;
}

CWinApp::~CWinApp() {
    for (CDocTemplate* t : m_templates) delete t;
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }
CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }
HINSTANCE AfxGetResourceHandle() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

std::string AfxLoadString(UINT id) {
    char buffer[1024];
    int n = ::LoadStringA(AfxGetResourceHandle(), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? n : 0);
}

const char* AfxGetAppName() {
    if (!g_app) return "";
    if (g_app->m_appName.empty()) {
        g_app->m_appName = AfxLoadString(AFX_IDS_APP_TITLE);
        if (g_app->m_appName.empty()) {
            char path[MAX_PATH];
            ::GetModuleFileNameA(AfxGetResourceHandle(), path, MAX_PATH);
            std::string name = path;
            name = name.substr(name.find_last_of('\\') + 1);
            g_app->m_appName = name.substr(0, name.find_last_of('.'));
        }
    }
    return g_app->m_appName.c_str();
}

int AfxMessageBox(const char* text, UINT type) {
    CWnd* main = AfxGetMainWnd();
    HWND owner = ::GetActiveWindow();
    if (!owner && main) owner = main->m_hWnd;
    return ::MessageBoxA(owner, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT stringId, UINT type) {
    return AfxMessageBox(AfxLoadString(stringId).c_str(), type);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    // Nothing on the command line changes what the program does: it always starts a new document.
    info.m_nShellCommand = CCommandLineInfo::FileNew;
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    if (info.m_nShellCommand != CCommandLineInfo::FileNew) return true;
    if (m_templates.empty()) return false;
    return m_templates.front()->OpenDocumentFile(nullptr) != nullptr;
}

void CWinApp::SetRegistryKey(const char* company) { m_registryKey = company; }

void CWinApp::LoadStdProfileSettings(unsigned) {
    // The framework's profile key is set up, but nothing of the program's lives there, and no
    // recent-file list is kept because nothing would show it.
    if (m_registryKey.empty()) return;
    std::string path = "Software\\" + m_registryKey + "\\" + AfxGetAppName();
    HKEY key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                          nullptr, &key, nullptr) == ERROR_SUCCESS)
        ::RegCloseKey(key);
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate) { m_templates.push_back(docTemplate); }

void CWinApp::OnFileNew() {
    if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {}

void CWinApp::OnAppExit() {
    if (m_pMainWnd) m_pMainWnd->SendMessage(WM_CLOSE);
}

bool CWinApp::PreTranslateMessage(MSG* msg) {
    // Each bound window from the target up to the top gets its chance (frames: accelerators).
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(h))
            if (wnd->PreTranslateMessage(msg)) return true;
        if (m_pMainWnd && h == m_pMainWnd->m_hWnd) break;
    }
    return false;
}

bool CWinApp::OnIdle(long count) {
    if (count == 0 && m_pMainWnd && m_pMainWnd->m_hWnd)
        m_pMainWnd->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    return false;
}

int CWinApp::Run() {
    MSG msg;
    long idleCount = 0;
    bool idle = true;
    POINT lastMouse{-1, -1};
    for (;;) {
        while (idle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) idle = false;
        }
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        // Input and painting are worth an idle pass afterwards; timers are not, nor a mouse that
        // reports the place it already reported (the bars' hover states follow real moves).
        bool worthIdle = msg.message != WM_TIMER && msg.message != WM_PAINT;
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
            worthIdle = msg.pt.x != lastMouse.x || msg.pt.y != lastMouse.y;
            lastMouse = msg.pt;
        }
        if (worthIdle) {
            idle = true;
            idleCount = 0;
        }
    }
    return ExitInstance();
}

int AfxWinMain(HINSTANCE instance, int cmdShow) {
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    app->m_hInstance = instance;
    app->m_nCmdShow = cmdShow;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
