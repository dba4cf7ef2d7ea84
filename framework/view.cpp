#include "framework/view.h"

#include "framework/doc_template.h"
#include "framework/frame_wnd.h"
#include "framework/gdi.h"

// ---- CView ---------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

bool CView::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return CWnd::PreCreateWindow(cs);
}

int CView::OnCreate(LPCREATESTRUCT cs) {
    if (Default() == -1) return -1;
    if (auto* context = static_cast<CCreateContext*>(cs->lpCreateParams)) {
        m_pDocument = context->m_pCurrentDoc;
        if (m_pDocument) m_pDocument->AddView(this);
    }
    return 0;
}

void CView::OnDestroy() {
    if (CFrameWnd* frame = GetParentFrame())
        if (frame->GetActiveView() == this) frame->SetActiveView(nullptr);
    if (m_pDocument) m_pDocument->RemoveView(this);
    m_pDocument = nullptr;
    Default();
}

void CView::PostNcDestroy() { delete this; }

bool CView::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
    if (CWnd::OnCmdMsg(id, code, extra, info)) return true;
    return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, info);
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM) {
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate() { Invalidate(); }

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

// ---- CScrollView ---------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

void CScrollView::SetScrollSizes(int mapMode, CSize total, CSize page, CSize line) {
    m_mapMode = mapMode;
    m_total = total;
    m_page = page;
    if (m_page.cx == 0) m_page.cx = m_total.cx / 10;
    if (m_page.cy == 0) m_page.cy = m_total.cy / 10;
    m_line = line;
    if (m_line.cx == 0) m_line.cx = m_page.cx / 10;
    if (m_line.cy == 0) m_line.cy = m_page.cy / 10;
    if (m_hWnd) UpdateBars();
}

CPoint CScrollView::GetScrollPosition() const {
    return CPoint(::GetScrollPos(m_hWnd, SB_HORZ), ::GetScrollPos(m_hWnd, SB_VERT));
}

void CScrollView::UpdateBars() {
    // Two passes: showing one bar narrows the client area, which may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        CRect client;
        GetClientRect(&client);
        SCROLLINFO si{sizeof si};
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = 0;
        CPoint pos = GetScrollPosition();

        si.nMax = m_total.cx > client.Width() ? m_total.cx - 1 : 0;
        si.nPage = m_total.cx > client.Width() ? client.Width() : 0;
        int maxX = m_total.cx - client.Width();
        si.nPos = pos.x > maxX ? (maxX > 0 ? maxX : 0) : pos.x;
        ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);

        si.nMax = m_total.cy > client.Height() ? m_total.cy - 1 : 0;
        si.nPage = m_total.cy > client.Height() ? client.Height() : 0;
        int maxY = m_total.cy - client.Height();
        si.nPos = pos.y > maxY ? (maxY > 0 ? maxY : 0) : pos.y;
        ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
    }
    Invalidate(false);
}

void CScrollView::ScrollToPosition(CPoint position) {
    CRect client;
    GetClientRect(&client);
    int maxX = m_total.cx - client.Width(), maxY = m_total.cy - client.Height();
    position.x = position.x > maxX ? maxX : position.x;
    position.y = position.y > maxY ? maxY : position.y;
    if (position.x < 0) position.x = 0;
    if (position.y < 0) position.y = 0;
    ::SetScrollPos(m_hWnd, SB_HORZ, position.x, TRUE);
    ::SetScrollPos(m_hWnd, SB_VERT, position.y, TRUE);
    Invalidate(false);
}

void CScrollView::OnPrepareDC(CDC* dc) {
    CPoint pos = GetScrollPosition();
    ::SetMapMode(dc->GetSafeHdc(), MM_TEXT);
    ::SetViewportOrgEx(dc->GetSafeHdc(), -pos.x, -pos.y, nullptr);
}

void CScrollView::OnSize(UINT, int, int) { UpdateBars(); }

void CScrollView::ScrollAxis(int bar, UINT code) {
    SCROLLINFO si{sizeof si};
    si.fMask = SIF_ALL;
    ::GetScrollInfo(m_hWnd, bar, &si);
    int line = bar == SB_HORZ ? m_line.cx : m_line.cy;
    int page = bar == SB_HORZ ? m_page.cx : m_page.cy;
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP: pos -= line > 0 ? line : 1; break;
    case SB_LINEDOWN: pos += line > 0 ? line : 1; break;
    case SB_PAGEUP: pos -= page > 0 ? page : 1; break;
    case SB_PAGEDOWN: pos += page > 0 ? page : 1; break;
    case SB_TOP: pos = si.nMin; break;
    case SB_BOTTOM: pos = si.nMax; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;  // 32-bit, unlike the message's 16
    default: return;
    }
    int limit = si.nMax - static_cast<int>(si.nPage) + 1;
    if (pos > limit) pos = limit;
    if (pos < 0) pos = 0;
    if (pos == si.nPos) return;
    ::SetScrollPos(m_hWnd, bar, pos, TRUE);
    Invalidate(false);
}

void CScrollView::OnHScroll(UINT code, UINT, HWND) { ScrollAxis(SB_HORZ, code); }
void CScrollView::OnVScroll(UINT code, UINT, HWND) { ScrollAxis(SB_VERT, code); }

BOOL CScrollView::OnMouseWheel(UINT, short delta, CPoint) {
    int steps = delta / WHEEL_DELTA;
    for (int i = 0; i < (steps > 0 ? steps : -steps); ++i)
        ScrollAxis(SB_VERT, steps > 0 ? SB_LINEUP : SB_LINEDOWN);
    return TRUE;
}
