#pragma once
// The program's only top-level window: menu, notification-area icon, toolbar, status bar and the
// docked history pane. It spends most of its life hidden.
#include "chrome/cool_bar.h"
#include "chrome/system_tray.h"
#include "framework/framework.h"
#include "history/history_commands.h"
#include "history/history_list_ctrl.h"

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
    CHistoryListCtrl& HistoryList() { return historyList; }
    CSystemTray& SystemTray() { return systemTray; }
    // The History menu's commands go to their own object after the view and the frame.
    bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) override;

    // The notification-area icon's callback message.
    static constexpr UINT WM_ICON_NOTIFY = WM_USER + 10;

protected:
    CSystemTray systemTray;
    CToolBar toolBar;
    CStatusBar statusBar;
    // The history: its pane, the list in it, and the History menu's commands.
    CCoolBar historyPane;
    CHistoryListCtrl historyList;
    HistoryCommands historyCommands{historyList, *this};
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
    afx_msg void OnClose();
    // Window chrome: the icon, exit, help and the product's web pages.
    bool CreateTrayIcon();
    afx_msg LRESULT OnIconNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTaskbarCreated(WPARAM, LPARAM);
    afx_msg void OnHelp();
    afx_msg void OnProductLink(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    bool exitDialogOpen = false;
    // Writes save.dat once the user has confirmed the exit (and when Windows ends the session); a
    // failure is reported with a chance to retry when the user may be asked.
    void SaveHistoryOnExit(bool askOnFailure = true);
    // Step 5 of the frame's creation: the history list in its pane, with its rows from save.dat.
    bool CreateHistoryList();
};
