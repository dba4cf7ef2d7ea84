#include "framework/control_bar.h"

#include "framework/dock_bar.h"
#include "framework/dock_context.h"
#include "framework/dock_layout.h"
#include "framework/dock_sides.h"

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CControlBar::~CControlBar() {
    Detach();
    delete m_pDockContext;
}

void CControlBar::Detach() {
    if (m_pDockBar) m_pDockBar->RemoveControlBar(this);
    m_pDockBar = nullptr;
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
    m_pDockSite = nullptr;
}

void CControlBar::SetBarStyle(DWORD style) {
    DWORD old = m_dwStyle;
    m_dwStyle = style;
    if (old != style) OnBarStyleChange(old, style);
}

void CControlBar::EnableDocking(DWORD alignment) {
    m_dwDockStyle = alignment & CBRS_ALIGN_ANY;
    if (m_dwDockStyle && !m_pDockContext) m_pDockContext = new CDockContext(this);
}

DWORD CControlBar::Edge() const {
    if (m_dwStyle & CBRS_ALIGN_TOP) return CBRS_ALIGN_TOP;
    if (m_dwStyle & CBRS_ALIGN_BOTTOM) return CBRS_ALIGN_BOTTOM;
    if (m_dwStyle & CBRS_ALIGN_LEFT) return CBRS_ALIGN_LEFT;
    return CBRS_ALIGN_RIGHT;
}

bool CControlBar::IsFloating() const { return m_pDockBar && m_pDockBar->m_bFloating; }

bool CControlBar::IsVisible() const {
    if (m_nStateFlags & kDelayShow) return true;
    if (m_nStateFlags & kDelayHide) return false;
    return m_hWnd && (GetStyle() & WS_VISIBLE);
}

void CControlBar::DelayShow(bool show) {
    m_nStateFlags &= ~(kDelayHide | kDelayShow);
    bool visible = m_hWnd && (GetStyle() & WS_VISIBLE);
    if (show != visible) m_nStateFlags |= show ? kDelayShow : kDelayHide;
}

void CControlBar::RecalcDelayShow(HDWP* batch) {
    if (!(m_nStateFlags & (kDelayHide | kDelayShow))) return;
    bool show = (m_nStateFlags & kDelayShow) != 0;
    m_nStateFlags &= ~(kDelayHide | kDelayShow);
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                 (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (batch && *batch) *batch = ::DeferWindowPos(*batch, m_hWnd, nullptr, 0, 0, 0, 0, flags);
    else ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, flags);
}

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
    CRect r;
    GetWindowRect(&r);
    CSize size = r.Size();
    if (stretch) {
        if (horizontal) size.cx = 32767;
        else size.cy = 32767;
    }
    return size;
}

CSize CControlBar::CalcDynamicLayout(int length, DWORD mode) {
    return CalcFixedLayout((mode & LM_STRETCH) != 0, (mode & LM_HORZ) != 0);
}

void CControlBar::PositionInLayout(CRect& area, HDWP* batch) {
    if (batch) RecalcDelayShow(batch);
    if (!m_hWnd || !(GetStyle() & WS_VISIBLE)) return;
    bool horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    CSize size = (m_dwStyle & CBRS_SIZE_DYNAMIC)
                     ? CalcDynamicLayout(-1, horizontal ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK)
                     : CalcFixedLayout(TRUE, horizontal);
    unsigned side = (m_dwStyle & CBRS_ALIGN_TOP)      ? dock::kTop
                  : (m_dwStyle & CBRS_ALIGN_BOTTOM)   ? dock::kBottom
                  : (m_dwStyle & CBRS_ALIGN_LEFT)     ? dock::kLeft
                                                      : dock::kRight;
    geo::Rect rest{area.left, area.top, area.right, area.bottom};
    geo::Rect band = dock::TakeBand(rest, side, horizontal ? size.cy : size.cx);
    area = CRect(rest.left, rest.top, rest.right, rest.bottom);
    if (batch && *batch)
        *batch = ::DeferWindowPos(*batch, m_hWnd, nullptr, band.left, band.top, band.Width(), band.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE);
}

void CControlBar::AttachToFrame(CFrameWnd* frame, DWORD barStyle) {
    m_pDockSite = frame;
    m_dwStyle = barStyle;
    frame->AddControlBar(this);
}

int CControlBar::OnCreate(LPCREATESTRUCT cs) {
    if (Default() == -1) return -1;
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(GetParent()));
    if (!frame) frame = GetParentFrame();
    if (frame) {
        m_pDockSite = frame;
        frame->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy() {
    Detach();
    Default();
}

void CControlBar::PostNcDestroy() {
    Detach();
}

void CControlBar::OnLButtonDown(UINT flags, CPoint point) {
    // A press on the bar itself (not on a control in it) drags it to another side or out.
    if (m_pDockContext && m_pDockBar) {
        ::ClientToScreen(m_hWnd, &point);
        m_pDockContext->StartDrag(point);
        return;
    }
    Default();
}

void CControlBar::OnLButtonDblClk(UINT flags, CPoint point) {
    if (m_pDockContext && m_pDockBar) {
        m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

bool CControlBar::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Commands of the controls on a bar (toolbar buttons among them) belong to the frame, wherever
    // the bar sits: in a dock bar, a mini frame or on the frame itself.
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control && ReflectToChild(control, WM_COMMAND, LOWORD(wParam), HIWORD(wParam), nullptr, nullptr))
        return true;
    if (m_pDockSite) return m_pDockSite->OnCommand(wParam, lParam);
    return CWnd::OnCommand(wParam, lParam);
}

bool CControlBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (CWnd::OnNotify(wParam, lParam, result)) return true;
    return m_pDockSite && m_pDockSite->OnNotify(wParam, lParam, result);
}
