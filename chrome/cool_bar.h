#pragma once
// CCoolBar: a sizing control bar with a gripper and a small close button in its non-client area
// while docked. The main frame's "History" pane is one.
#include "chrome/sizing_control_bar.h"

class CCoolBar : public CSizingControlBar {
    DECLARE_DYNCREATE(CCoolBar)
public:
    CCoolBar();

    int gripWidth = 12;
    BOOL buttonDown = FALSE;
    BOOL buttonHot = FALSE;
    CPoint buttonOrigin;  // the close button's top-left corner, in window coordinates
    BOOL hasFocus = FALSE;

    void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) override;
    void PaintGripArea(HDC dc, const CRect& client) override;
    void ComputeClientArea(CRect& rect, UINT dockBarId) override;
    // True exactly while docked: the gripper and button are shown.
    virtual BOOL ShowsGrip() const;

protected:
    afx_msg LRESULT OnNcLButtonUp(WPARAM hitTest, LPARAM point);
    afx_msg LRESULT OnCoolNcHitTest(WPARAM, LPARAM point);
    afx_msg LRESULT OnCoolSetText(WPARAM, LPARAM text);
    DECLARE_MESSAGE_MAP()

private:
    void PaintCloseButton(HDC dc);
};
