#pragma once
// CSizingControlBar: a dockable control bar the user sizes by dragging its edges, docked (sharing
// its row with the other bars there) and floating. The first child window fills its client area.
#include <vector>

#include "chrome/row_negotiation.h"
#include "framework/framework.h"

class CSizingControlBar : public CControlBar {
    DECLARE_DYNCREATE(CSizingControlBar)
public:
    CSizingControlBar();

    // Bit 0x1/0x2/0x4/0x8: left, right, top, bottom edge active (recomputed at every non-client
    // size calculation); 0x10 reserve and draw the edges; 0x20 size the first child window.
    DWORD barFlags = 0;
    int dragEdge = 0;  // HTLEFT, HTRIGHT, HTTOP or HTBOTTOM while an edge is dragged
    CSize dockedHorzSize{200, 200};
    CSize dockedVertSize{200, 200};
    CSize floatingSize{200, 200};
    CSize minDockedHorzSize{33, 32};
    CSize minDockedVertSize{33, 32};
    CSize minFloatingSize{37, 32};
    int dragMin = 0, dragMax = 0, dragPos = 0, dragGrabOffset = 0;  // screen, along the drag axis
    BOOL dragging = FALSE;
    BOOL holdLength = FALSE;          // keep the length once, when shown again
    BOOL rowRelayoutPending = FALSE;  // the row's lengths are to be negotiated
    BOOL liveDrag = FALSE;            // full-window dragging: the size changes while dragging
    UINT dockSide = 0;                // the control id of the dock bar it sits in
    int edgeThickness = 5;

    virtual BOOL Create(const char* title, CWnd* parent, UINT id, DWORD style);
    virtual void BeginEdgeDrag(UINT edge, CPoint point);
    virtual void EndEdgeDrag();
    virtual void UpdateEdgeDrag(CPoint point);
    virtual void InvertDragLine();
    virtual void PaintGripArea(HDC dc, const CRect& client);
    virtual void ComputeClientArea(CRect& rect, UINT dockBarId);
    virtual void PackRowBars();

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;

    bool IsDockedHorizontally() const;
    bool IsDockedVertically() const;
    bool IsDockedAnywhere() const { return IsDockedHorizontally() || IsDockedVertically(); }

protected:
    // The row's bars that are visible, in list order, and those of them that are sizing bars.
    std::vector<CControlBar*> RowVisibleBars() const;
    std::vector<CSizingControlBar*> RowSizingBars() const;
    // This bar's docked size as the row arithmetic sees it, and back.
    sizing::RowBar AsRowBar() const;
    void TakeRowBar(const sizing::RowBar& row);
    // The rectangle of an edge (hit-test code) in screen coordinates; empty when inactive.
    CRect EdgeRect(UINT edge) const;
    bool NegotiateRow(int available);
    CFrameWnd* DockSite() const { return m_pDockSite ? m_pDockSite : GetParentFrame(); }

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnPaint();
    afx_msg LRESULT OnNcPaint(WPARAM, LPARAM);
    afx_msg LRESULT OnNcCalcSize(WPARAM calcValid, LPARAM params);
    afx_msg LRESULT OnWindowPosChanging(WPARAM, LPARAM pos);
    afx_msg LRESULT OnCaptureChanged(WPARAM, LPARAM newCapture);
    afx_msg LRESULT OnSettingChange(WPARAM, LPARAM);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg LRESULT OnNcLButtonDown(WPARAM hitTest, LPARAM point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg LRESULT OnNcHitTest(WPARAM, LPARAM point);
    afx_msg void OnClose() {}  // a sizing bar is hidden through its frame, never closed
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg LRESULT OnSetText(WPARAM, LPARAM text);
    DECLARE_MESSAGE_MAP()

    // The hit test without the cool bar's close button.
    LRESULT HitTestEdges(CPoint screenPoint) const;
    // The window rectangle of the non-client calculation under way (parent coordinates).
    CRect m_ncWindowRect;
};
