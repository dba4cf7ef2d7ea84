#include "framework/frame_wnd.h"

#include "framework/control_bar.h"
#include "framework/dock_bar.h"
#include "framework/doc_template.h"
#include "framework/view.h"
#include "framework/win_app.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_INITMENUPOPUP()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_RECALCPARENT, OnDelayedLayout)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
    ON_MESSAGE(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd() = default;

CFrameWnd::~CFrameWnd() {
    for (CControlBar* bar : m_controlBars) bar->m_pDockSite = nullptr;
    m_controlBars.clear();
    for (CDockBar*& dockBar : m_dockBars) {
        delete dockBar;
        dockBar = nullptr;
    }
}

bool CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    return CWnd::PreCreateWindow(cs);
}

bool CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context) {
    HINSTANCE module = AfxGetResourceHandle();
    std::string title = AfxLoadString(resourceId);
    title = title.substr(0, title.find('\n'));

    // A window class of our own carries the frame's icon.
    static const char kFrameClass[] = "TessalyFrame";
    WNDCLASSA wc{};
    if (!::GetClassInfoA(module, kFrameClass, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = StandardWndProc;
        wc.hInstance = module;
        wc.hIcon = ::LoadIconA(module, MAKEINTRESOURCEA(resourceId));
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kFrameClass;
        if (!::RegisterClassA(&wc)) return false;
    }
    m_hMenuDefault = ::LoadMenuA(module, MAKEINTRESOURCEA(resourceId));
    m_hAccelTable = ::LoadAcceleratorsA(module, MAKEINTRESOURCEA(resourceId));

    CREATESTRUCTA cs{};
    cs.lpszClass = kFrameClass;
    cs.style = style;
    if (!PreCreateWindow(cs)) return false;
    m_frameStyles = cs.style & FWS_ADDTOTITLE;
    return CreateEx(cs.dwExStyle, cs.lpszClass, title.c_str(), cs.style & ~FWS_ADDTOTITLE,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    parent ? parent->m_hWnd : nullptr,
                    static_cast<UINT>(reinterpret_cast<UINT_PTR>(m_hMenuDefault)), context);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT cs) {
    if (Default() == -1) return -1;
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (!OnCreateClient(cs, context)) return -1;
    RecalcLayout();
    return 0;
}

bool CFrameWnd::OnCreateClient(LPCREATESTRUCT, CCreateContext* context) {
    if (!context || !context->m_pNewViewClass) return true;
    return CreateView(context) != nullptr;
}

CView* CFrameWnd::CreateView(CCreateContext* context, UINT id) {
    auto* view = dynamic_cast<CView*>(context->m_pNewViewClass->CreateObject());
    if (!view) return nullptr;
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id, context)) {
        // A view whose window failed was deleted by its own clean-up only if the window existed.
        if (!view->m_hWnd) delete view;
        return nullptr;
    }
    if (!m_activeView) m_activeView = view;
    return view;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, bool makeVisible) {
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, true);
    RecalcLayout();
    if (makeVisible) ActivateFrame();
}

void CFrameWnd::ActivateFrame(int cmdShow) {
    CWinApp* app = AfxGetApp();
    if (cmdShow == -1 && app && app->m_pMainWnd == this) {
        cmdShow = app->m_nCmdShow;
        app->m_nCmdShow = -1;  // the start-up show command is used once
    }
    if (cmdShow == -1) cmdShow = SW_SHOW;
    ShowWindow(cmdShow);
    if (cmdShow != SW_HIDE) ::BringWindowToTop(m_hWnd);
}

void CFrameWnd::OnSize(UINT type, int cx, int cy) {
    if (type != SIZE_MINIMIZED) RecalcLayout();
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

void CFrameWnd::OnDestroy() {
    if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault) ::DestroyMenu(m_hMenuDefault);
    m_hMenuDefault = nullptr;  // the window destroys the menu it holds
    Default();
}

void CFrameWnd::PostNcDestroy() {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    delete this;
}

bool CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
    if (m_activeView && m_activeView->OnCmdMsg(id, code, extra, info)) return true;
    if (CWnd::OnCmdMsg(id, code, extra, info)) return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(id, code, extra, info);
}

bool CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    // Buttons of our own control bars are commands like menu items: their rule is checked too.
    if (control) {
        CWnd* bound = FromHandlePermanent(control);
        if (dynamic_cast<CControlBar*>(bound)) {
            UINT id = LOWORD(wParam);
            if (!IsCommandEnabled(id)) return true;
            return OnCmdMsg(id, CN_COMMAND, nullptr, nullptr);
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}

bool CFrameWnd::PreTranslateMessage(MSG* msg) {
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hAccelTable)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg) != 0;
    return false;
}

void CFrameWnd::OnInitMenuPopup(HMENU popup, UINT, BOOL sysMenu) {
    if (sysMenu) return;
    CCmdUI state;
    state.m_pMenu = popup;
    int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(popup, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator or submenu
        state.m_nID = id;
        state.m_nIndex = i;
        state.DoUpdate(this, m_bAutoMenuEnable && id < 0xF000);
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
    if (m_layoutPending) OnDelayedLayout(0, 0);
    std::vector<CControlBar*> bars = m_controlBars;  // an update may add or remove bars
    for (CControlBar* bar : bars)
        if (bar->m_hWnd && bar->IsWindowVisible()) bar->OnUpdateCmdUI(this, m_bAutoMenuEnable);
    return 0;
}
