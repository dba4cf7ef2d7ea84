#pragma once
// A plain bar docked at the bottom of the frame, holding the history list until the dockable,
// resizable "History" pane takes its place: a fixed height, and its one child filling it.
#include "framework/framework.h"

class CHistoryPaneStandIn : public CControlBar {
public:
    static constexpr int kHeight = 150;

    bool Create(const char* title, CFrameWnd* frame, UINT id);
    CSize CalcFixedLayout(const CRect& available) override { return CSize(available.Width(), kHeight); }

protected:
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};
