#include "app/history_pane_standin.h"

BEGIN_MESSAGE_MAP(CHistoryPaneStandIn, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

bool CHistoryPaneStandIn::Create(const char* title, CFrameWnd* frame, UINT id) {
    if (!CreateEx(0, nullptr, title, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), frame->m_hWnd, id))
        return false;
    AttachToFrame(frame, CBRS_ALIGN_BOTTOM);
    return true;
}

void CHistoryPaneStandIn::OnSize(UINT, int cx, int cy) {
    if (HWND child = ::GetWindow(m_hWnd, GW_CHILD)) ::MoveWindow(child, 0, 0, cx, cy, TRUE);
}
