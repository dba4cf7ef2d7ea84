#include "framework/dock_bar.h"

#include <algorithm>

#include "framework/dock_layout.h"
#include "framework/gdi.h"
#include "framework/win_app.h"

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
END_MESSAGE_MAP()

namespace {

const char* DockBarClassName() {
    static const char name[] = "TessalyDockBar";
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        ::GetClassInfoA(AfxGetResourceHandle(), CWnd::DefaultClassName(), &wc);
        wc.style = CS_DBLCLKS;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = name;
        registered = ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    return name;
}

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != 0; }

}  // namespace

bool CDockBar::Create(CWnd* parent, DWORD style, UINT id) {
    // The top dock bar keeps a 2-pixel line between the menu and the bars under it.
    m_dwStyle = (style & CBRS_ALL) | (id == AFX_IDW_DOCKBAR_TOP ? CBRS_BORDER_TOP : 0);
    DWORD windowStyle = (style & ~CBRS_ALL) | WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    return CreateEx(0, DockBarClassName(), nullptr, windowStyle, CRect(0, 0, 0, 0), parent->m_hWnd, id);
}

int CDockBar::GetDockedVisibleCount() const {
    int count = 0;
    for (CControlBar* bar : m_bars.Entries())
        if (bar && bar->IsVisible()) ++count;
    return count;
}

CRect CDockBar::BarRectInClient(CControlBar* bar) const {
    CRect r;
    bar->GetWindowRect(&r);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void CDockBar::DockControlBar(CControlBar* bar, const RECT* screenRect) {
    if (bar->m_pDockBar && bar->m_pDockBar != this) bar->m_pDockBar->RemoveControlBar(bar);
    if (m_bars.Contains(bar)) m_bars.Remove(bar);

    CRect place;
    bool placed = false;
    if (screenRect && !m_bFloating) {
        place = *screenRect;
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
        bool horizontal = IsHorizontal();
        std::vector<std::vector<geo::Rect>> rows;
        for (const auto& row : m_bars.Rows()) {
            rows.emplace_back();
            for (CControlBar* other : row) {
                CRect r = BarRectInClient(other);
                rows.back().push_back({r.left, r.top, r.right, r.bottom});
            }
        }
        // The row under the middle of the dropped rectangle, before the bar whose middle lies
        // past its leading edge.
        geo::Point at = horizontal ? geo::Point{place.left, (place.top + place.bottom) / 2}
                                   : geo::Point{(place.left + place.right) / 2, place.top};
        dock::Insertion where = dock::FindInsertion(rows, horizontal, at);
        m_bars.Insert(bar, where.row, where.position, where.newRow);
        placed = true;
    } else {
        m_bars.AppendRow(bar);
    }
    if (placed) m_unplaced.erase(bar);
    else m_unplaced.insert(bar);
    ++m_revision;

    DWORD style = bar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
    style |= m_bFloating ? (CBRS_FLOATING | (bar->GetBarStyle() & CBRS_ALIGN_ANY)) : (m_dwStyle & CBRS_ALIGN_ANY);
    bar->SetBarStyle(style);
    bar->m_pDockBar = this;
    if (bar->GetParent() != m_hWnd) ::SetParent(bar->m_hWnd, m_hWnd);
    if (placed) {
        bar->SetWindowPos(nullptr, place.left, place.top, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    } else {
        bar->SetWindowPos(nullptr, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (m_bFloating) SetWindowText(bar->GetWindowText().c_str());
}

void CDockBar::RemoveControlBar(CControlBar* bar) {
    if (!m_bars.Contains(bar)) return;
    m_bars.Remove(bar);
    m_unplaced.erase(bar);
    if (bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
    ++m_revision;
}

bool CDockBar::InsertRowBreakAfter(CControlBar* bar) {
    if (!m_bars.BreakAfter(bar)) return false;
    ++m_revision;
    return true;
}

bool CDockBar::InsertRowBreakBefore(CControlBar* bar) {
    if (!m_bars.BreakBefore(bar)) return false;
    ++m_revision;
    return true;
}

CSize CDockBar::CalcFixedLayout(BOOL stretch, BOOL) {
    if (m_bFloating) return CalcFloatingLayout();
    bool horizontal = IsHorizontal();
    CRect offered = m_rectLayout;
    if (offered.IsRectEmpty() && GetParent()) ::GetClientRect(GetParent(), &offered);
    int length = horizontal ? offered.Width() : offered.Height();
    if (!m_layoutQuery) {
        // Shows and hides that were delayed take effect now.
        HDWP batch = ::BeginDeferWindowPos(GetDockedCount());
        for (CControlBar* bar : m_bars.Entries())
            if (bar) bar->RecalcDelayShow(&batch);
        if (batch) ::EndDeferWindowPos(batch);
    }

    std::vector<CControlBar*> order;
    dock::RowsLayout layout;
    // A sizing bar may end its row while it is asked for its size (the row no longer fits): then
    // the rows are read again. Each time one more break stands in the list, so this ends.
    for (int attempt = 0; attempt < 64; ++attempt) {
        unsigned revision = m_revision;
        std::vector<std::vector<dock::LayoutBar>> rows;
        order.clear();
        bool changed = false;
        for (const auto& row : m_bars.Rows()) {
            rows.emplace_back();
            for (CControlBar* bar : row) {
                if (!bar->IsVisible()) continue;
                CSize size = (bar->GetBarStyle() & CBRS_SIZE_DYNAMIC)
                                 ? bar->CalcDynamicLayout(-1, horizontal ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK)
                                 : bar->CalcFixedLayout(FALSE, horizontal);
                if (m_revision != revision) {
                    changed = true;
                    break;
                }
                CRect now = BarRectInClient(bar);
                bool placed = !m_unplaced.count(bar);
                rows.back().push_back({{size.cx, size.cy}, horizontal ? now.left : now.top, placed});
                order.push_back(bar);
            }
            if (changed) break;
        }
        if (changed) continue;
        layout = dock::LayoutRows(rows, horizontal, length + dock::kBarOverlap);
        break;
    }

    if (!m_layoutQuery) {
        HDWP batch = ::BeginDeferWindowPos(static_cast<int>(order.size()));
        for (size_t i = 0; i < order.size() && i < layout.places.size(); ++i) {
            const geo::Rect& p = layout.places[i];
            CRect now = BarRectInClient(order[i]);
            if (SameRect(now, CRect(p.left, p.top, p.right, p.bottom)) || !batch) continue;
            batch = ::DeferWindowPos(batch, order[i]->m_hWnd, nullptr, p.left, p.top, p.Width(), p.Height(),
                                     SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (batch) ::EndDeferWindowPos(batch);
        m_unplaced.clear();
    }

    int thickness = layout.thickness;
    if (thickness > 0) thickness += BorderTop();
    if (horizontal) return CSize(stretch ? 32767 : length, thickness);
    return CSize(thickness, stretch ? 32767 : length);
}

CSize CDockBar::CalcFloatingLayout() {
    // A mini frame holds one bar, at the dock bar's origin, as large as the bar wants to float.
    for (CControlBar* bar : m_bars.Entries()) {
        if (!bar || !bar->IsVisible()) continue;
        CSize size = (bar->GetBarStyle() & CBRS_SIZE_DYNAMIC) ? bar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH)
                                                              : bar->CalcFixedLayout(FALSE, TRUE);
        if (!m_layoutQuery) {
            CRect now = BarRectInClient(bar);
            if (!SameRect(now, CRect(0, 0, size.cx, size.cy)))
                bar->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return size;
    }
    return CSize(0, 0);
}

void CDockBar::PositionInLayout(CRect& area, HDWP* batch) {
    m_rectLayout = area;
    m_layoutQuery = batch == nullptr;
    bool horizontal = IsHorizontal();
    CSize size = CalcFixedLayout(TRUE, horizontal);
    m_layoutQuery = false;
    unsigned side = GetDlgCtrlID();
    geo::Rect rest{area.left, area.top, area.right, area.bottom};
    geo::Rect band = dock::TakeBand(rest, side, horizontal ? size.cy : size.cx);
    area = CRect(rest.left, rest.top, rest.right, rest.bottom);
    if (batch && *batch)
        *batch = ::DeferWindowPos(*batch, m_hWnd, nullptr, band.left, band.top, band.Width(), band.Height(),
                                  SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CDockBar::OnNcCalcSize(WPARAM, LPARAM params) {
    auto* rect = reinterpret_cast<RECT*>(params);  // rgrc[0] either way
    int border = BorderTop();
    if (rect->bottom - rect->top >= border) rect->top += border;
    return 0;
}

LRESULT CDockBar::OnNcPaint(WPARAM, LPARAM) {
    if (!BorderTop()) return 0;
    CWindowDC dc(m_hWnd);
    CRect r;
    GetWindowRect(&r);
    int width = r.Width();
    dc.FillSolidRect(CRect(0, 0, width, 1), ::GetSysColor(COLOR_BTNSHADOW));
    dc.FillSolidRect(CRect(0, 1, width, 2), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    return 0;
}

void CDockBar::OnPaint() {
    CPaintDC dc(this);
}

BOOL CDockBar::OnEraseBkgnd(HDC dc) {
    CRect r;
    GetClientRect(&r);
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}
