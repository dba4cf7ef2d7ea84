// Dragging a docked sizing bar's edge: live, or with an inverted tracker line and the size applied
// on release (when the system does not drag full windows).
#include "chrome/edge_drag.h"
#include "chrome/sizing_bar_geometry.h"
#include "chrome/sizing_control_bar.h"
#include "framework/bar_drawing.h"

namespace {
bool AlongX(UINT edge) { return edge == HTLEFT || edge == HTRIGHT; }
}  // namespace

void CSizingControlBar::BeginEdgeDrag(UINT edge, CPoint point) {
    ::SetCapture(m_hWnd);
    if (!liveDrag) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);

    dragEdge = static_cast<int>(edge);
    dragging = TRUE;
    int position = AlongX(edge) ? point.x : point.y;
    dragPos = position;
    CRect e = EdgeRect(edge);
    dragGrabOffset = position - (AlongX(edge) ? (e.left + e.right) / 2 : (e.top + e.bottom) / 2);
    dragMin = dragMax = position;

    std::vector<CSizingControlBar*> bars = RowSizingBars();
    std::vector<sizing::RowBar> row;
    int self = 0;
    for (size_t i = 0; i < bars.size(); ++i) {
        if (bars[i] == this) self = static_cast<int>(i);
        row.push_back(bars[i]->AsRowBar());
    }
    if (row.empty()) row.push_back(AsRowBar());
    bool horizontal = IsDockedHorizontally();
    sizing::DragLimits limits;
    if (sizing::DragsAlongRow(dragEdge, horizontal)) {
        limits = sizing::AlongRowLimits(row, self, dragEdge, position);
    } else {
        // The row may grow into what the frame's first pane has left, less 2 pixels.
        CRect free;
        if (CFrameWnd* frame = DockSite()) frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &free);
        limits = sizing::AcrossRowLimits(row, self, dragEdge, position, horizontal ? free.Height() : free.Width());
    }
    dragMin = limits.min;
    dragMax = limits.max;
    InvertDragLine();
}

void CSizingControlBar::UpdateEdgeDrag(CPoint point) {
    int position = std::clamp(AlongX(dragEdge) ? static_cast<int>(point.x) : static_cast<int>(point.y), dragMin, dragMax);
    if (position == dragPos) return;
    InvertDragLine();
    int delta = position - dragPos;
    dragPos = position;

    std::vector<CSizingControlBar*> bars = RowSizingBars();
    std::vector<sizing::RowBar> row;
    int self = -1;
    for (size_t i = 0; i < bars.size(); ++i) {
        if (bars[i] == this) self = static_cast<int>(i);
        row.push_back(bars[i]->AsRowBar());
    }
    if (self >= 0) {
        if (sizing::DragsAlongRow(dragEdge, IsDockedHorizontally())) sizing::MoveSplitter(row, self, dragEdge, delta);
        else sizing::ChangeRowThickness(row, self, dragEdge, delta);
        for (size_t i = 0; i < bars.size(); ++i) bars[i]->TakeRowBar(row[i]);
    }
    InvertDragLine();
    if (liveDrag)
        if (CFrameWnd* frame = DockSite()) frame->DelayRecalcLayout();
}

void CSizingControlBar::EndEdgeDrag() {
    InvertDragLine();
    dragging = FALSE;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (CFrameWnd* frame = DockSite()) frame->DelayRecalcLayout();
}

void CSizingControlBar::InvertDragLine() {
    if (liveDrag || !m_pDockBar) return;
    CFrameWnd* frame = DockSite();
    if (!frame) return;
    CRect edge = EdgeRect(dragEdge);
    CRect dockBar;
    m_pDockBar->GetWindowRect(&dockBar);
    bool acrossRow = !sizing::DragsAlongRow(dragEdge, IsDockedHorizontally());
    geo::Rect line = sizing::TrackerRect({edge.left, edge.top, edge.right, edge.bottom}, AlongX(dragEdge), acrossRow,
                                         {dockBar.left, dockBar.top, dockBar.right, dockBar.bottom}, dragPos,
                                         dragGrabOffset);
    CRect frameWindow;
    frame->GetWindowRect(&frameWindow);
    line.Offset(-frameWindow.left, -frameWindow.top);
    HDC dc = ::GetDCEx(frame->m_hWnd, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (!dc) return;
    InvertHalftoneRect(dc, RECT{line.left, line.top, line.right, line.bottom});
    ::ReleaseDC(frame->m_hWnd, dc);
}
