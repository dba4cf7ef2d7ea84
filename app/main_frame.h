#pragma once
// The program's only top-level window: menu, status bar (and, as they arrive, toolbar, history pane
// and notification-area icon). It spends most of its life hidden.
#include "framework/framework.h"

class CKelvane101View;

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    CStatusBar& StatusBar() { return statusBar; }
    CKelvane101View* View() const;

protected:
    CStatusBar statusBar;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnEndSession(bool ending);
    DECLARE_MESSAGE_MAP()
};
