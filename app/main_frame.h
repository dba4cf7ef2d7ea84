#pragma once
// The program's only top-level window: menu, status bar (and, as they arrive, toolbar, history pane
// and notification-area icon). It spends most of its life hidden.
#include "app/history_pane_standin.h"
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

protected:
    CStatusBar statusBar;
    // The history: its pane, the list in it, and the History menu's commands.
    CHistoryPaneStandIn historyPane;
    CHistoryListCtrl historyList;
    HistoryCommands historyCommands{historyList, *this};

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnEndSession(bool ending);
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    // Writes save.dat once the user has confirmed the exit (and when Windows ends the session).
    void SaveHistoryOnExit();
    // Step 5 of the frame's creation: the history list in its pane, with its rows from save.dat.
    bool CreateHistoryList();
};
