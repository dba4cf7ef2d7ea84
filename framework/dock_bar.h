#pragma once
// A dock bar: the strip along one edge of a frame (or inside a floating mini frame) that holds
// control bars in rows. Rows are kept in one list in which an empty entry separates rows.
#include <set>
#include <vector>

#include "framework/control_bar.h"
#include "framework/dock_row_list.h"

class CDockBar : public CControlBar {
public:
    explicit CDockBar(bool floating = false) : m_bFloating(floating) {}

    // `style` carries the side as CBRS_ALIGN_ bits; `id` is the side's dock bar id.
    bool Create(CWnd* parent, DWORD style, UINT id);

    bool IsDockBar() const override { return true; }
    bool m_bFloating;
    // The area the frame's last layout offered this dock bar, in the frame's client coordinates.
    CRect m_rectLayout;
    // The bars, row by row; a null entry separates rows.
    const std::vector<CControlBar*>& Entries() const { return m_bars.Entries(); }

    // Takes `bar` in: at the place of `screenRect` (the row under it, or a new row), else in a row of
    // its own at the end. The bar becomes this dock bar's child.
    void DockControlBar(CControlBar* bar, const RECT* screenRect = nullptr);
    void RemoveControlBar(CControlBar* bar);
    std::vector<CControlBar*> RowOf(const CControlBar* bar) const { return m_bars.RowOf(bar); }
    bool InsertRowBreakAfter(CControlBar* bar);
    bool InsertRowBreakBefore(CControlBar* bar);
    int GetDockedCount() const { return m_bars.BarCount(); }
    int GetDockedVisibleCount() const;
    bool IsHorizontal() const { return m_bFloating || (m_dwStyle & CBRS_ORIENT_HORZ); }

    // Lays out the rows (moving the bars unless only asked) and answers the dock bar's size.
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    void PositionInLayout(CRect& area, HDWP* batch) override;

private:
    dock::RowList<CControlBar> m_bars;
    std::set<const CControlBar*> m_unplaced;  // docked without a place: they go after their row's others
    unsigned m_revision = 0;                  // changes whenever the list does
    bool m_layoutQuery = false;
    int BorderTop() const { return (m_dwStyle & CBRS_BORDER_TOP) ? 2 : 0; }
    CRect BarRectInClient(CControlBar* bar) const;
    CSize CalcFloatingLayout();

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(HDC dc);
    afx_msg LRESULT OnNcCalcSize(WPARAM calcValid, LPARAM params);
    afx_msg LRESULT OnNcPaint(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};
