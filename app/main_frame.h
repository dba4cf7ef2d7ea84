#pragma once
// The program's only top-level window: menu, status bar (and, as they arrive, toolbar, history pane
// and notification-area icon). It spends most of its life hidden.
#include "chrome/cool_bar.h"
#include "framework/framework.h"

class CKelvane101View;

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    CStatusBar& StatusBar() { return statusBar; }
    CToolBar& ToolBar() { return toolBar; }
    // The "History" pane: the history list lives in it as its only child window.
    CCoolBar& HistoryPane() { return historyPane; }
    CKelvane101View* View() const;

protected:
    CToolBar toolBar;
    CStatusBar statusBar;
    CCoolBar historyPane;

    // Shows a bar that is hidden and hides one that is shown; the View menu's check follows it.
    void ToggleBar(CControlBar& bar);
    afx_msg void OnViewToolBar() { ToggleBar(toolBar); }
    afx_msg void OnUpdateViewToolBar(CCmdUI* ui) { ui->SetCheck(toolBar.IsWindowVisible()); }
    afx_msg void OnViewStatusBar() { ToggleBar(statusBar); }
    afx_msg void OnUpdateViewStatusBar(CCmdUI* ui) { ui->SetCheck(statusBar.IsWindowVisible()); }
    afx_msg void OnViewHistory() { ToggleBar(historyPane); }
    afx_msg void OnUpdateViewHistory(CCmdUI* ui) { ui->SetCheck(historyPane.IsWindowVisible()); }

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnEndSession(bool ending);
    DECLARE_MESSAGE_MAP()
};
