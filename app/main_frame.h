#pragma once
// The program's only top-level window: menu, notification-area icon, status bar, history pane
// (and, as it arrives, the toolbar). It spends most of its life hidden.
#include "app/history_pane_standin.h"
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
    CKelvane101View* View() const;
    CHistoryListCtrl& HistoryList() { return historyList; }
    // The History menu's commands go to their own object after the view and the frame.
    bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) override;

    // The notification-area icon's callback message.
    static constexpr UINT WM_ICON_NOTIFY = WM_USER + 10;

protected:
    CSystemTray systemTray;
    CStatusBar statusBar;
    // The history: its pane, the list in it, and the History menu's commands.
    CHistoryPaneStandIn historyPane;
    CHistoryListCtrl historyList;
    HistoryCommands historyCommands{historyList, *this};

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
    // Writes save.dat once the user has confirmed the exit (and when Windows ends the session).
    void SaveHistoryOnExit();
    // Step 5 of the frame's creation: the history list in its pane, with its rows from save.dat.
    bool CreateHistoryList();
};
