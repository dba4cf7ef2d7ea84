#include "app/main_frame.h"

#include <shellapi.h>

#include "app/exit_write.h"
#include "app/kelvane101_view.h"
#include "app/program_folder.h"
#include "capture/foreground.h"
#include "chrome/chrome_text.h"
#include "chrome/exit_dialog.h"
#include "chrome/html_help.h"
#include "chrome/product_addresses.h"
#include "history/history_store.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CMainFrame)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ENDSESSION()
    ON_WM_CLOSE()
    ON_COMMAND(ID_VIEW_TOOLBAR_BAR, OnViewToolBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR_BAR, OnUpdateViewToolBar)
    ON_COMMAND(ID_VIEW_STATUS_BAR, OnViewStatusBar)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateViewStatusBar)
    ON_COMMAND(ID_VIEW_HISTORY, OnViewHistory)
    ON_UPDATE_COMMAND_UI(ID_VIEW_HISTORY, OnUpdateViewHistory)
    ON_MESSAGE(WM_ICON_NOTIFY, OnIconNotify)
    ON_REGISTERED_MESSAGE(CSystemTray::TaskbarCreatedMessage(), OnTaskbarCreated)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND_RANGE(ID_HELP_CHECK_UPGRADE, ID_HELP_TECHNICAL_SUPPORT, OnProductLink)
END_MESSAGE_MAP()

namespace {

struct PaneLayout {
    UINT style;
    int width;
};
// Image size and depth, zoom, selection, and a stretching pane the program never writes.
const UINT kHistoryPaneId = 123;

const PaneLayout kPanes[] = {{SBPS_NORMAL, 150}, {SBPS_NORMAL, 100}, {SBPS_NORMAL, 200}, {SBPS_STRETCH, 300}};

}  // namespace

bool CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!CFrameWnd::PreCreateWindow(cs)) return false;
    // Hidden before it is ever shown, and the title stays ours.
    AfxGetApp()->m_nCmdShow = SW_HIDE;
    cs.style &= ~FWS_ADDTOTITLE;
    return true;
}

int CMainFrame::OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    EnableDocking(CBRS_ALIGN_ANY);
    SetWindowText("Tessaly Screen Capture");

    // The history pane, docked at the bottom.
    if (!historyPane.Create("History", this, kHistoryPaneId, WS_CHILD | WS_VISIBLE | CBRS_TOP)) return -1;
    historyPane.SetBarStyle(historyPane.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    historyPane.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&historyPane, AFX_IDW_DOCKBAR_BOTTOM);

    // The history list in the pane, then the notification-area icon.
    if (!CreateHistoryList()) return -1;
    if (!CreateTrayIcon()) return -1;

    // The toolbar, docked at the top.
    if (!toolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) || !toolBar.LoadToolBar(IDR_MAINFRAME, {{IDB_TOOLBAR_24, 24}, {IDB_TOOLBAR_32, 32}}))
        return -1;
    toolBar.SetWindowText("Toolbar");
    toolBar.SetBarStyle(toolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    toolBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&toolBar, AFX_IDW_DOCKBAR_TOP);

    const UINT indicators[] = {ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR};
    if (!statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !statusBar.SetIndicators(indicators, 4))
        return -1;
    for (int i = 0; i < 4; ++i) statusBar.SetPaneInfo(i, ID_STATUS_PANE, kPanes[i].style, kPanes[i].width);
    statusBar.SetPaneText(0, "No Image.");
    RecalcLayout();
    return 0;
}

void CMainFrame::ToggleBar(CControlBar& bar) {
    ShowControlBar(&bar, !bar.IsWindowVisible(), false);
}

CKelvane101View* CMainFrame::View() const {
    return dynamic_cast<CKelvane101View*>(GetActiveView());
}

void CMainFrame::OnSize(UINT type, int cx, int cy) {
    if (type == SIZE_MINIMIZED) {
        ShowWindow(SW_HIDE);  // minimised means out of sight: no taskbar button
        return;
    }
    CFrameWnd::OnSize(type, cx, cy);
}

void CMainFrame::OnEndSession(bool ending) {
    // Logging off ends the process without WM_CLOSE: keep what closing would have kept.
    if (!ending) return;
    SaveHistoryOnExit(false);
    if (CKelvane101View* view = View()) view->StoreSettings(false);
}

// ---- history -------------------------------------------------------------------------------

bool CMainFrame::CreateHistoryList() {
    const UINT kListId = 100;
    if (!historyList.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 0, 0), &historyPane, kListId))
        return false;
    historyList.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    historyList.InsertColumns();
    historyList.LoadHistory();
    return true;
}

void CMainFrame::SaveHistoryOnExit(bool askOnFailure) {
    // A failed write keeps the old file whole; the user learns why and may free the way and retry.
    ExitWrite::WriteOrReport(HistoryStore::FilePath(), [this] { return historyList.SaveHistory(); },
                             ExitWrite::AskIf(askOnFailure, m_hWnd));
}

bool CMainFrame::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
    if (CFrameWnd::OnCmdMsg(id, code, extra, info)) return true;
    return historyCommands.OnCmdMsg(id, code, extra, info);
}

// ---- window chrome: the icon, exit, help, web pages ----------------------------------------------

bool CMainFrame::CreateTrayIcon() {
    if (!systemTray.AddIcon(this, WM_ICON_NOTIFY, "Tessaly Screen Capture", nullptr, IDR_TRAYMENU)) return false;
    systemTray.ChangeIcon(static_cast<UINT>(IDR_MAINFRAME));
    return true;
}

LRESULT CMainFrame::OnIconNotify(WPARAM wParam, LPARAM lParam) {
    // While a dialog of ours waits for the user, a command from the icon (a capture, exit) would
    // run underneath it, and exit would pull the frame away from under it. Bring the dialog forward.
    const UINT mouse = LOWORD(lParam);
    if (wParam == IDR_TRAYMENU && (mouse == WM_RBUTTONUP || mouse == WM_LBUTTONDBLCLK))
        if (HWND dialog = WaitingDialog(m_hWnd)) {
            ::SetForegroundWindow(dialog);
            return 1;
        }
    return systemTray.OnIconNotify(wParam, lParam);
}

LRESULT CMainFrame::OnTaskbarCreated(WPARAM, LPARAM) {
    // A restarted shell has lost our icon; without it the program would be out of reach.
    systemTray.RestoreIcon();
    return 0;
}

void CMainFrame::OnClose() {
    if (exitDialogOpen) return;
    exitDialogOpen = true;
    CExitDlg confirm(this);
    const bool confirmed = confirm.DoModal() == IDOK;
    exitDialogOpen = false;
    if (!confirmed) return;  // the frame stays as it was, hidden or shown
    SaveHistoryOnExit();
    CFrameWnd::OnClose();
}

void CMainFrame::OnHelp() {
    const std::string helpFile = chrome_text::HelpFilePath(ProgramPath());
    if (!html_help::DisplayTopic(m_hWnd, helpFile))
        ::MessageBoxA(m_hWnd, chrome_text::HelpMissingMessage(helpFile).c_str(), "Tessaly Screen Capture", MB_OK);
}

void CMainFrame::OnProductLink(UINT id) {
    const char* target = id == ID_HELP_CHECK_UPGRADE   ? product_addresses::kDownloadPage
                       : id == ID_HELP_VISIT_WEBSITE   ? product_addresses::kWebSite
                                                       : product_addresses::kSupportMailLink;
    ::ShellExecuteA(nullptr, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);  // no message if it fails
}
