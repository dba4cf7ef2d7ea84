#include "framework/mini_frame.h"

#include "framework/dock_context.h"
#include "framework/dock_sides.h"

namespace {
constexpr DWORD kMiniWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kMiniExStyle = WS_EX_TOOLWINDOW;
}  // namespace

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

bool CMiniFrameWnd::CreateMini(CWnd* owner, const char* title, DWORD style, const RECT& rect) {
    return CreateEx(kMiniExStyle, nullptr, title, kMiniWindowStyle | (style & 0xFFFF), rect,
                    owner ? owner->m_hWnd : nullptr, 0);
}

void CMiniFrameWnd::PostNcDestroy() {
    delete this;  // mini frames are made with new and never the application's main window
}

LRESULT CMiniFrameWnd::OnNcHitTest(WPARAM, LPARAM) {
    LRESULT hit = Default();
    if (GetStyle() & MFS_4THICKFRAME) {
        // Corners size like the side they belong to.
        if (hit == HTTOPLEFT || hit == HTTOPRIGHT) hit = HTTOP;
        else if (hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT) hit = HTBOTTOM;
    }
    return hit;
}

void CMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* info) {
    // The bar decides how small it may get; the system's minimum for captions does not apply.
    CRect frame = CMiniDockFrameWnd::FrameRectFor(CRect(0, 0, 1, 1));
    info->ptMinTrackSize.x = frame.Width();
    info->ptMinTrackSize.y = frame.Height();
}

// ---- the mini frame of a floating bar ---------------------------------------------------------

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CRect CMiniDockFrameWnd::FrameRectFor(const CRect& inside) {
    CRect r = inside;
    ::AdjustWindowRectEx(&r, kMiniWindowStyle, FALSE, kMiniExStyle);
    r.OffsetRect(inside.left - r.left, inside.top - r.top);
    return r;
}

bool CMiniDockFrameWnd::Create(CFrameWnd* dockSite, DWORD barStyle) {
    m_pDockSite = dockSite;
    // Bars that size themselves freely would lose their corners; they take the style off.
    DWORD style = MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE;
    if (!CreateMini(dockSite, "", style, CRect(0, 0, 0, 0))) return false;
    return m_wndDockBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_FLOAT);
}

CControlBar* CMiniDockFrameWnd::Bar() const {
    for (CControlBar* bar : m_wndDockBar.Entries())
        if (bar) return bar;
    return nullptr;
}

void CMiniDockFrameWnd::RecalcLayout() {
    if (m_inLayout || !m_hWnd || !m_wndDockBar.m_hWnd) return;
    m_inLayout = true;
    m_layoutPending = false;
    CControlBar* bar = Bar();
    if (bar) bar->RecalcDelayShow(nullptr);
    bool siteShown = !m_pDockSite || m_pDockSite->IsWindowVisible();
    if (!bar || m_wndDockBar.GetDockedVisibleCount() == 0 || !siteShown) {
        if (GetStyle() & WS_VISIBLE) ShowWindow(SW_HIDE);
        m_inLayout = false;
        return;
    }
    CSize size = m_wndDockBar.CalcFixedLayout(FALSE, TRUE);
    std::string caption = m_wndDockBar.GetWindowText();
    if (GetWindowText() != caption) SetWindowText(caption.c_str());
    CRect now;
    GetWindowRect(&now);
    CRect frame = FrameRectFor(CRect(now.left, now.top, now.left + size.cx, now.top + size.cy));
    ::SetWindowPos(m_hWnd, nullptr, frame.left, frame.top, frame.Width(), frame.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE | ((GetStyle() & WS_VISIBLE) ? 0 : SWP_SHOWWINDOW));
    m_wndDockBar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    m_inLayout = false;
}

void CMiniDockFrameWnd::OnSize(UINT, int, int) {
    if (!m_inLayout) DelayRecalcLayout();
}

LRESULT CMiniDockFrameWnd::OnNcLButtonDown(WPARAM hitTest, LPARAM point) {
    CControlBar* bar = Bar();
    CDockContext* context = bar ? bar->m_pDockContext : nullptr;
    CPoint at(point);
    if (context && hitTest == HTCAPTION) {
        // The caption drags the bar: to another place, or back into a dock bar.
        ::SetActiveWindow(m_hWnd);
        context->StartDrag(at);
        return 0;
    }
    if (hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT) {
        if (context && (bar->GetBarStyle() & CBRS_SIZE_DYNAMIC)) context->StartResize(static_cast<int>(hitTest), at);
        return 0;
    }
    return Default();
}

LRESULT CMiniDockFrameWnd::OnNcLButtonDblClk(WPARAM hitTest, LPARAM) {
    CControlBar* bar = Bar();
    if (hitTest == HTCAPTION && bar && bar->m_pDockContext) {
        bar->m_pDockContext->ToggleDocking();
        return 0;
    }
    return Default();
}

void CMiniDockFrameWnd::OnClose() {
    // Closing the mini frame hides its bar; the View menu brings it back.
    if (CControlBar* bar = Bar()) {
        if (m_pDockSite) m_pDockSite->ShowControlBar(bar, false, false);
        else bar->ShowWindow(SW_HIDE);
    }
    RecalcLayout();
}

void CMiniDockFrameWnd::OnDestroy() {
    if (m_pDockSite) m_pDockSite->RemoveMiniFrame(this);
    CFrameWnd::OnDestroy();
}
