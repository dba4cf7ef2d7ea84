#include "chrome/sizing_control_bar.h"

#include <algorithm>

#include "chrome/sizing_bar_geometry.h"
#include "framework/bar_drawing.h"

IMPLEMENT_DYNCREATE(CSizingControlBar)

BEGIN_MESSAGE_MAP(CSizingControlBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

namespace {

geo::Rect Geo(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
CRect Win(const geo::Rect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

const char* SizingBarClassName() {
    static const char name[] = "TessalySizingBar";
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        ::GetClassInfoA(AfxGetResourceHandle(), CWnd::DefaultClassName(), &wc);  // our window procedure
        wc.style = CS_DBLCLKS;
        wc.hIcon = nullptr;
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = name;
        registered = ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    return name;
}

BOOL DragFullWindows() {
    BOOL on = FALSE;
    ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &on, 0);
    return on;
}

}  // namespace

CSizingControlBar::CSizingControlBar() = default;

BOOL CSizingControlBar::Create(const char* title, CWnd* parent, UINT id, DWORD style) {
    m_dwStyle = style & CBRS_ALL;
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CLIPCHILDREN;
    return CreateEx(0, SizingBarClassName(), title, windowStyle, CRect(0, 0, 0, 0), parent->m_hWnd, id);
}

bool CSizingControlBar::IsDockedHorizontally() const { return dock::IsHorizontal(dockSide); }
bool CSizingControlBar::IsDockedVertically() const { return dock::IsVertical(dockSide); }

int CSizingControlBar::OnCreate(LPCREATESTRUCT cs) {
    if (CControlBar::OnCreate(cs) == -1) return -1;
    liveDrag = DragFullWindows();
    return 0;
}

LRESULT CSizingControlBar::OnSettingChange(WPARAM, LPARAM) {
    LRESULT result = Default();
    liveDrag = DragFullWindows();
    return result;
}

// ---- the row -----------------------------------------------------------------------------------

std::vector<CControlBar*> CSizingControlBar::RowVisibleBars() const {
    std::vector<CControlBar*> visible;
    if (!m_pDockBar) return visible;
    for (CControlBar* bar : m_pDockBar->RowOf(this))
        if (bar->IsVisible()) visible.push_back(bar);
    return visible;
}

std::vector<CSizingControlBar*> CSizingControlBar::RowSizingBars() const {
    std::vector<CSizingControlBar*> sizingBars;
    for (CControlBar* bar : RowVisibleBars())
        if (auto* s = dynamic_cast<CSizingControlBar*>(bar)) sizingBars.push_back(s);
    return sizingBars;
}

sizing::RowBar CSizingControlBar::AsRowBar() const {
    if (IsDockedVertically())
        return {true, dockedVertSize.cy, dockedVertSize.cx, minDockedVertSize.cy, minDockedVertSize.cx, holdLength != 0};
    return {true, dockedHorzSize.cx, dockedHorzSize.cy, minDockedHorzSize.cx, minDockedHorzSize.cy, holdLength != 0};
}

void CSizingControlBar::TakeRowBar(const sizing::RowBar& row) {
    if (IsDockedVertically()) dockedVertSize = CSize(row.thickness, row.length);
    else dockedHorzSize = CSize(row.length, row.thickness);
    holdLength = row.holdLength;
}

bool CSizingControlBar::NegotiateRow(int available) {
    std::vector<CControlBar*> bars = RowVisibleBars();
    bool horizontal = IsDockedHorizontally();
    std::vector<sizing::RowBar> row;
    int self = -1;
    for (CControlBar* bar : bars) {
        if (bar == this) self = static_cast<int>(row.size());
        if (auto* s = dynamic_cast<CSizingControlBar*>(bar)) {
            row.push_back(s->AsRowBar());
        } else {
            CRect r;
            bar->GetWindowRect(&r);
            row.push_back({false, horizontal ? r.Width() : r.Height(), horizontal ? r.Height() : r.Width(), 0, 0, false});
        }
    }
    if (self < 0) return false;
    sizing::Negotiation n = sizing::NegotiateRow(row, self, available);
    for (size_t i = 0; i < row.size(); ++i)
        if (auto* s = dynamic_cast<CSizingControlBar*>(bars[i])) s->TakeRowBar(row[i]);
    if (n.breakAfter >= 0) m_pDockBar->InsertRowBreakAfter(bars[n.breakAfter]);
    if (n.breakBefore >= 0) m_pDockBar->InsertRowBreakBefore(bars[n.breakBefore]);
    return n.succeeded;
}

CSize CSizingControlBar::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
    if (stretch) return horizontal ? CSize(32767, dockedHorzSize.cy) : CSize(dockedVertSize.cx, 32767);

    if (m_pDockBar) {
        // Shows and hides still due in the row take effect first, in one batch.
        std::vector<CControlBar*> row = m_pDockBar->RowOf(this);
        if (m_pDockBar->m_bFloating) {
            for (CControlBar* bar : row) bar->RecalcDelayShow(nullptr);
        } else {
            HDWP batch = ::BeginDeferWindowPos(static_cast<int>(row.size()));
            for (CControlBar* bar : row) bar->RecalcDelayShow(&batch);
            if (batch) ::EndDeferWindowPos(batch);
        }
    }
    CRect area = m_pDockBar ? m_pDockBar->m_rectLayout : CRect();
    if (area.IsRectEmpty()) {
        if (CFrameWnd* frame = DockSite()) frame->GetClientRect(&area);
    }
    int available = horizontal ? area.Width() + 2 : area.Height() - 2;
    if ((GetStyle() & WS_VISIBLE) && IsDockedAnywhere() && rowRelayoutPending) {
        std::vector<CSizingControlBar*> row = RowSizingBars();
        if (!row.empty() && row.front() == this && NegotiateRow(available)) PackRowBars();
    }
    rowRelayoutPending = FALSE;

    CSize size = horizontal ? dockedHorzSize : dockedVertSize;
    const CSize& least = horizontal ? minDockedHorzSize : minDockedVertSize;
    size.cx = std::max(size.cx, least.cx);
    size.cy = std::max(size.cy, least.cy);
    return size;
}

CSize CSizingControlBar::CalcDynamicLayout(int length, DWORD mode) {
    if (mode & (LM_HORZDOCK | LM_VERTDOCK)) {
        if (length == -1) rowRelayoutPending = TRUE;
        return CalcFixedLayout(FALSE, (mode & LM_HORZDOCK) != 0);
    }
    if (!(mode & (LM_MRUWIDTH | LM_COMMIT))) {
        CDockContext* context = m_pDockContext;
        auto* mini = IsFloating() ? dynamic_cast<CMiniFrameWnd*>(GetParentFrame()) : nullptr;
        if (mini && context && sizing::IsCorner(context->m_nHitTest)) {
            CPoint cursor;
            ::GetCursorPos(&cursor);
            CRect frame, bar;
            mini->GetWindowRect(&frame);
            GetWindowRect(&bar);
            sizing::CornerSizing c = sizing::SizeByCorner(context->m_nHitTest, {cursor.x, cursor.y}, Geo(frame),
                                                          Geo(bar), {floatingSize.cx, floatingSize.cy},
                                                          {minFloatingSize.cx, minFloatingSize.cy});
            floatingSize = CSize(c.floatingSize.cx, c.floatingSize.cy);
            if (c.movesLeft) context->m_rectFrameDragHorz.left = c.left;
            if (c.movesTop) context->m_rectFrameDragHorz.top = c.top;
        } else if (mode & LM_LENGTHY) {
            floatingSize.cy = length;
        } else {
            floatingSize.cx = length;
        }
    }
    floatingSize.cx = std::max(floatingSize.cx, minFloatingSize.cx);
    floatingSize.cy = std::max(floatingSize.cy, minFloatingSize.cy);
    return floatingSize;
}

void CSizingControlBar::PackRowBars() {
    if (!m_pDockBar) return;
    std::vector<CControlBar*> bars = RowVisibleBars();
    bool horizontal = IsDockedHorizontally();
    std::vector<int> lengths;
    for (CControlBar* bar : bars) {
        if (auto* s = dynamic_cast<CSizingControlBar*>(bar)) {
            lengths.push_back(horizontal ? s->dockedHorzSize.cx : s->dockedVertSize.cy);
        } else {
            CRect r;
            bar->GetWindowRect(&r);
            lengths.push_back(horizontal ? r.Width() : r.Height());
        }
    }
    std::vector<int> edges = sizing::PackRow(lengths);
    CRect dockWindow;
    m_pDockBar->GetWindowRect(&dockWindow);
    bool moved = false;
    for (size_t i = 0; i < bars.size(); ++i) {
        CRect now;
        bars[i]->GetWindowRect(&now);
        CRect current = now;
        ::MapWindowPoints(nullptr, m_pDockBar->m_hWnd, reinterpret_cast<POINT*>(&current), 2);
        now.OffsetRect(-dockWindow.left, -dockWindow.top);  // relative to the dock bar's window
        CSize size = now.Size();
        if (auto* s = dynamic_cast<CSizingControlBar*>(bars[i])) size = horizontal ? s->dockedHorzSize : s->dockedVertSize;
        CRect place = horizontal ? CRect(edges[i], now.top, edges[i] + size.cx, now.top + size.cy)
                                 : CRect(now.left, edges[i], now.left + size.cx, edges[i] + size.cy);
        // The top dock bar's window starts with its 2-pixel line: its client area lies 2 lower.
        if (dockSide == AFX_IDW_DOCKBAR_TOP) place.OffsetRect(0, -2);
        if (::EqualRect(&place, &current)) continue;
        bars[i]->MoveWindow(place);
        moved = true;
    }
    if (moved)
        if (CFrameWnd* frame = DockSite()) frame->DelayRecalcLayout();
}

// ---- the frame ---------------------------------------------------------------------------------

LRESULT CSizingControlBar::OnWindowPosChanging(WPARAM, LPARAM pos) {
    auto* change = reinterpret_cast<WINDOWPOS*>(pos);
    change->flags |= SWP_FRAMECHANGED;  // the edges depend on the place: recompute the frame
    LRESULT result = Default();
    dockSide = static_cast<UINT>(::GetDlgCtrlID(GetParent()));
    if (IsDockedAnywhere() && (change->flags & SWP_SHOWWINDOW)) holdLength = TRUE;
    return result;
}

void CSizingControlBar::ComputeClientArea(CRect& rect, UINT dockBarId) {
    sizing::ClientArea area = sizing::ComputeClientArea(Geo(rect), dockBarId, barFlags, edgeThickness);
    rect = Win(area.client);
    barFlags = area.flags;
}

LRESULT CSizingControlBar::OnNcCalcSize(WPARAM, LPARAM params) {
    auto* rect = reinterpret_cast<RECT*>(params);  // the window rectangle, rgrc[0] either way
    if (IsFloating()) {
        // A mini frame that keeps its corners for itself cannot be sized freely: take that off.
        auto* mini = dynamic_cast<CMiniFrameWnd*>(GetParentFrame());
        if (mini && (mini->GetStyle() & MFS_4THICKFRAME)) {
            mini->ModifyStyle(MFS_4THICKFRAME, 0);
            ::SetWindowLongPtrA(GetParent(), GWL_STYLE, ::GetWindowLongPtrA(GetParent(), GWL_STYLE) | WS_CLIPCHILDREN);
        }
    }
    barFlags &= ~sizing::kEdgeBits;
    if (IsDockedAnywhere() && m_pDockBar) {
        std::vector<CSizingControlBar*> row = RowSizingBars();
        auto it = std::find(row.begin(), row.end(), this);
        if (it != row.end()) barFlags |= sizing::RowEdges(dockSide, it == row.begin(), it + 1 == row.end());
    }
    m_ncWindowRect = *rect;
    CRect client = *rect;
    ComputeClientArea(client, dockSide);
    if (client.right < client.left) client.right = client.left;
    if (client.bottom < client.top) client.bottom = client.top;
    *rect = client;
    return 0;
}

CRect CSizingControlBar::EdgeRect(UINT edge) const {
    CRect window;
    GetWindowRect(&window);
    return Win(sizing::EdgeRect(Geo(window), static_cast<int>(edge), barFlags, dockSide, edgeThickness));
}

LRESULT CSizingControlBar::HitTestEdges(CPoint screenPoint) const {
    CRect window;
    GetWindowRect(&window);
    return sizing::HitTestEdges(Geo(window), {screenPoint.x, screenPoint.y}, barFlags, dockSide, edgeThickness);
}

LRESULT CSizingControlBar::OnNcHitTest(WPARAM, LPARAM point) {
    return HitTestEdges(CPoint(point));
}

void CSizingControlBar::OnPaint() {
    CPaintDC dc(this);  // the client area belongs to the child window
}

LRESULT CSizingControlBar::OnNcPaint(WPARAM, LPARAM) {
    CRect window;
    GetWindowRect(&window);
    CRect client;
    GetClientRect(&client);
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    client.OffsetRect(-window.left, -window.top);
    CRect full(0, 0, window.Width(), window.Height());
    if (full.IsRectEmpty()) return 0;

    // Painted off screen and copied in one go, around the client area only.
    HDC windowDC = ::GetWindowDC(m_hWnd);
    CDC memory;
    memory.CreateCompatibleDC(windowDC);
    CBitmap picture;
    picture.CreateCompatibleBitmap(windowDC, full.Width(), full.Height());
    {
        CSelectGuard keep(memory, picture.GetSafeHandle());
        CRect inside = full;
        if (m_dwStyle & CBRS_BORDER_ANY) {
            Draw3dRect(memory, inside, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
            ::InflateRect(&inside, -1, -1);
        }
        auto background = reinterpret_cast<HBRUSH>(::GetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND));
        ::FillRect(memory, &inside, background ? background : ::GetSysColorBrush(COLOR_BTNFACE));
        if (barFlags & sizing::kShowEdges) {
            for (UINT edge : {HTLEFT, HTTOP, HTRIGHT, HTBOTTOM}) {
                CRect e = EdgeRect(edge);
                if (e.IsRectEmpty()) continue;
                e.OffsetRect(-window.left, -window.top);
                Draw3dRect(memory, e, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
            }
        }
        PaintGripArea(memory, client);
        ::ExcludeClipRect(windowDC, client.left, client.top, client.right, client.bottom);
        ::BitBlt(windowDC, 0, 0, full.Width(), full.Height(), memory, 0, 0, SRCCOPY);
    }
    ::ReleaseDC(m_hWnd, windowDC);
    return 0;
}

void CSizingControlBar::PaintGripArea(HDC, const CRect&) {}

// ---- the mouse -----------------------------------------------------------------------------------

LRESULT CSizingControlBar::OnNcLButtonDown(WPARAM hitTest, LPARAM point) {
    if (!dragging && IsDockedAnywhere() && hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT)
        BeginEdgeDrag(static_cast<UINT>(hitTest), CPoint(point));
    return 0;
}

void CSizingControlBar::OnLButtonDown(UINT flags, CPoint point) {
    if (m_pDockBar && m_pDockContext) {
        ::ClientToScreen(m_hWnd, &point);
        m_pDockContext->StartDrag(point);
        return;
    }
    Default();
}

void CSizingControlBar::OnLButtonDblClk(UINT flags, CPoint point) {
    if (m_pDockBar && m_pDockContext) {
        m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

void CSizingControlBar::OnMouseMove(UINT flags, CPoint point) {
    if (!dragging) {
        Default();
        return;
    }
    ::ClientToScreen(m_hWnd, &point);
    UpdateEdgeDrag(point);
}

void CSizingControlBar::OnLButtonUp(UINT flags, CPoint point) {
    if (dragging) EndEdgeDrag();
    else Default();
}

void CSizingControlBar::OnRButtonDown(UINT flags, CPoint point) {
    if (dragging) EndEdgeDrag();
    else Default();
}

LRESULT CSizingControlBar::OnCaptureChanged(WPARAM, LPARAM newCapture) {
    if (dragging && reinterpret_cast<HWND>(newCapture) != m_hWnd) EndEdgeDrag();
    return Default();
}

// ---- the child and the text ----------------------------------------------------------------------

void CSizingControlBar::OnSize(UINT type, int cx, int cy) {
    Default();
    if (!(barFlags & sizing::kSizeChild)) return;
    if (HWND child = ::GetWindow(m_hWnd, GW_CHILD)) {
        ::MoveWindow(child, 0, 0, cx, cy, FALSE);
        ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

LRESULT CSizingControlBar::OnSetText(WPARAM, LPARAM text) {
    LRESULT result = Default();
    if (IsFloating()) {
        // Floating, the text is the mini frame's caption.
        if (auto* mini = dynamic_cast<CMiniDockFrameWnd*>(GetParentFrame())) {
            m_pDockBar->SetWindowText(reinterpret_cast<const char*>(text));
            mini->DelayRecalcLayout();
        }
    }
    return result;
}
