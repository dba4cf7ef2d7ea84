#include "app/main_frame.h"

#include "app/kelvane101_view.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CMainFrame)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ENDSESSION()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

struct PaneLayout {
    UINT style;
    int width;
};
// Image size and depth, zoom, selection, and a stretching pane the program never writes.
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
    if (!CreateHistoryList()) return -1;

    const UINT indicators[] = {ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR};
    if (!statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !statusBar.SetIndicators(indicators, 4))
        return -1;
    for (int i = 0; i < 4; ++i) statusBar.SetPaneInfo(i, ID_STATUS_PANE, kPanes[i].style, kPanes[i].width);
    statusBar.SetPaneText(0, "No Image.");
    RecalcLayout();
    return 0;
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
    const UINT kPaneId = 123, kListId = 100;
    if (!historyPane.Create("History", this, kPaneId)) return false;
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
