#include "app/main_frame.h"

#include "app/kelvane101_view.h"
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

    // The history list in the pane.
    if (!CreateHistoryList()) return -1;

    // The notification-area icon comes here.

    // The toolbar, docked at the top.
    if (!toolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) || !toolBar.LoadToolBar(IDR_MAINFRAME))
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
    SaveHistoryOnExit();
    if (CKelvane101View* view = View()) view->StoreSettings();
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

void CMainFrame::SaveHistoryOnExit() {
    // A folder we may not write to keeps its old file; that is all we can do at exit.
    historyList.SaveHistory();
}

void CMainFrame::OnClose() {
    // Until the Exit question arrives, closing is the confirmed exit.
    SaveHistoryOnExit();
    CFrameWnd::OnClose();
}

bool CMainFrame::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
    if (CFrameWnd::OnCmdMsg(id, code, extra, info)) return true;
    return historyCommands.OnCmdMsg(id, code, extra, info);
}
