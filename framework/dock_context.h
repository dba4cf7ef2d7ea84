#pragma once
// A dockable bar's dock context: dragging the bar to another side of its frame or out into a
// mini frame of its own, toggling between docked and floating, and sizing a floating bar's mini
// frame by its border.
#include "framework/types.h"

class CControlBar;
class CFrameWnd;
class CMiniDockFrameWnd;

class CDockContext {
public:
    explicit CDockContext(CControlBar* bar);

    // Follows the mouse from `screenPoint` (button down) until it is released, showing the bar's
    // rectangle where it would go: it docks in the dock bar the cursor reaches (one of the sides
    // the bar may dock at), else floats there. Ctrl keeps it floating; Esc or the right button
    // cancels. A press without a move changes nothing.
    void StartDrag(CPoint screenPoint);
    // Docked: floats at the last floating place; floating: docks where it last was.
    void ToggleDocking();
    // Sizes the floating bar's mini frame by its border `hitTest` (HTLEFT ... HTBOTTOMRIGHT).
    void StartResize(int hitTest, CPoint screenPoint);
    // Remembers where the bar sits now (docked: its dock bar and rectangle; floating: its mini
    // frame's corner), for ToggleDocking. The frame calls it before it moves the bar.
    void RememberPlace();

    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    // While a mini frame is sized: the border held (0 otherwise), and the frame's rectangle.
    int m_nHitTest = 0;
    CRect m_rectFrameDragHorz;
    // Where the bar last was docked and floated.
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    CPoint m_ptMRUFloatPos;
    bool m_hasFloatPos = false;

private:
    struct Shapes;
    // The mouse loop shared by dragging and sizing: calls `onMove` for each position until the
    // left button goes up (true) or the drag is cancelled (false).
    template <class OnMove>
    bool TrackMouse(HWND captureWindow, OnMove onMove);
    CMiniDockFrameWnd* FloatingFrame() const;
};
