#pragma once
// The program's only top-level window: menu, notification-area icon, status bar (and, as they
// arrive, toolbar and history pane). It spends most of its life hidden.
#include "chrome/system_tray.h"
#include "framework/framework.h"

class CKelvane101View;

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    CStatusBar& StatusBar() { return statusBar; }
    CKelvane101View* View() const;

    // The notification-area icon's callback message.
    static constexpr UINT WM_ICON_NOTIFY = WM_USER + 10;

protected:
    CSystemTray systemTray;
    CStatusBar statusBar;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnEndSession(bool ending);
    // Window chrome: the icon, exit, help and the product's web pages.
    bool CreateTrayIcon();
    afx_msg LRESULT OnIconNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnTaskbarCreated(WPARAM, LPARAM);
    afx_msg void OnClose();
    afx_msg void OnHelp();
    afx_msg void OnProductLink(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    bool exitDialogOpen = false;
    // Writes the history file when the user has confirmed exit.
    void SaveHistoryOnExit();
};
