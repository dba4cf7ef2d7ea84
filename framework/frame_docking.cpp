// The frame's side of docking: its dock bars, the layout of its bars around the first pane,
// showing and hiding bars, docking and floating them, and the delayed relayout.
#include <algorithm>

#include "framework/control_bar.h"
#include "framework/dock_bar.h"
#include "framework/dock_context.h"
#include "framework/dock_sides.h"
#include "framework/frame_wnd.h"
#include "framework/mini_frame.h"
#include "framework/win_app.h"

namespace {

struct DockSide {
    UINT id;
    DWORD align;
};
// The order the dock bars are made in, and so laid out in: top and bottom take the frame's
// whole width, the sides what is left between them.
const DockSide kDockSides[4] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
                                {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
                                {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
                                {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT}};

}  // namespace

void CFrameWnd::AddControlBar(CControlBar* bar) {
    if (std::find(m_controlBars.begin(), m_controlBars.end(), bar) == m_controlBars.end())
        m_controlBars.push_back(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar) {
    m_controlBars.erase(std::remove(m_controlBars.begin(), m_controlBars.end(), bar), m_controlBars.end());
}

void CFrameWnd::EnableDocking(DWORD alignment) {
    m_dockingAlignment |= alignment & CBRS_ALIGN_ANY;
    for (int i = 0; i < 4; ++i) {
        if (!(alignment & kDockSides[i].align) || m_dockBars[i]) continue;
        auto* dockBar = new CDockBar(false);
        if (!dockBar->Create(this, WS_CHILD | WS_VISIBLE | kDockSides[i].align, kDockSides[i].id)) {
            delete dockBar;
            continue;
        }
        m_dockBars[i] = dockBar;
    }
}

CDockBar* CFrameWnd::GetDockBar(UINT dockBarId) const {
    for (int i = 0; i < 4; ++i)
        if (kDockSides[i].id == dockBarId) return m_dockBars[i];
    return nullptr;
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, const RECT* screenRect) {
    CDockBar* dockBar = dockBarId ? GetDockBar(dockBarId) : nullptr;
    for (int i = 0; !dockBar && i < 4; ++i)
        if (m_dockBars[i] && (bar->DockAlignment() & kDockSides[i].align)) dockBar = m_dockBars[i];
    DockControlBar(bar, dockBar, screenRect);
}

void CFrameWnd::DockControlBar(CControlBar* bar, CDockBar* dockBar, const RECT* screenRect) {
    if (!bar || !dockBar) return;
    if (bar->m_pDockContext) bar->m_pDockContext->RememberPlace();
    CDockBar* old = bar->m_pDockBar;
    CMiniDockFrameWnd* oldMini =
        old && old->m_bFloating ? dynamic_cast<CMiniDockFrameWnd*>(FromHandlePermanent(::GetParent(old->m_hWnd))) : nullptr;
    dockBar->DockControlBar(bar, screenRect);
    if (oldMini) oldMini->RecalcLayout();  // hides itself; it goes at the next delayed layout
    // Laid out once the current message is done: a frame still being made adds the bar's
    // contents first.
    DelayRecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint screenPoint, DWORD barStyle) {
    if (bar->m_pDockContext) bar->m_pDockContext->RememberPlace();
    CDockBar* old = bar->m_pDockBar;
    CMiniDockFrameWnd* mini = nullptr;
    if (old && old->m_bFloating)
        mini = dynamic_cast<CMiniDockFrameWnd*>(FromHandlePermanent(::GetParent(old->m_hWnd)));
    if (!mini) {
        mini = new CMiniDockFrameWnd;
        if (!mini->Create(this, barStyle)) {
            if (mini->m_hWnd) mini->DestroyWindow();  // deletes itself
            else delete mini;
            return;
        }
        m_miniFrames.push_back(mini);
    }
    mini->SetWindowPos(nullptr, screenPoint.x, screenPoint.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (old != &mini->m_wndDockBar) mini->m_wndDockBar.DockControlBar(bar);
    mini->RecalcLayout();
    DelayRecalcLayout();
}

void CFrameWnd::RemoveMiniFrame(CMiniDockFrameWnd* miniFrame) {
    m_miniFrames.erase(std::remove(m_miniFrames.begin(), m_miniFrames.end(), miniFrame), m_miniFrames.end());
}

void CFrameWnd::ShowControlBar(CControlBar* bar, bool show, bool delay) {
    CFrameWnd* site = bar->m_pDockSite ? bar->m_pDockSite : this;
    CMiniDockFrameWnd* mini = nullptr;
    if (bar->IsFloating())
        mini = dynamic_cast<CMiniDockFrameWnd*>(FromHandlePermanent(::GetParent(bar->m_pDockBar->m_hWnd)));
    if (delay) {
        bar->DelayShow(show);
        if (mini) mini->DelayRecalcLayout();
        site->DelayRecalcLayout();
        return;
    }
    bar->m_nStateFlags &= ~(CControlBar::kDelayHide | CControlBar::kDelayShow);
    bar->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                                               (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    if (mini) mini->RecalcLayout();
    else site->RecalcLayout();
}

void CFrameWnd::RecalcLayout() {
    if (!m_hWnd || m_inRecalcLayout) return;
    m_inRecalcLayout = true;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposDefault, nullptr);
    m_inRecalcLayout = false;
}

void CFrameWnd::RepositionBars(UINT, UINT, UINT leftOverId, UINT flags, RECT* leftOver) {
    bool query = (flags & reposQuery) != 0;
    CRect area;
    GetClientRect(&area);
    // The status bar keeps the very bottom; the other bars of the frame itself (the dock bars
    // among them) follow in the order they were made.
    std::vector<CControlBar*> order;
    for (CControlBar* bar : m_controlBars)
        if (bar->m_hWnd && bar->GetParent() == m_hWnd && bar->GetDlgCtrlID() == AFX_IDW_STATUS_BAR)
            order.push_back(bar);
    for (CControlBar* bar : m_controlBars)
        if (bar->m_hWnd && bar->GetParent() == m_hWnd && bar->GetDlgCtrlID() != AFX_IDW_STATUS_BAR)
            order.push_back(bar);

    HDWP batch = query ? nullptr : ::BeginDeferWindowPos(static_cast<int>(order.size()) + 1);
    for (CControlBar* bar : order) bar->PositionInLayout(area, query ? nullptr : &batch);
    if (area.right < area.left) area.right = area.left;
    if (area.bottom < area.top) area.bottom = area.top;
    if (!query && batch) {
        if (HWND pane = GetDlgItem(leftOverId))
            batch = ::DeferWindowPos(batch, pane, nullptr, area.left, area.top, area.Width(), area.Height(),
                                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (batch) ::EndDeferWindowPos(batch);
    }
    if (leftOver) *leftOver = area;
}

void CFrameWnd::DelayRecalcLayout() {
    if (!m_hWnd || m_layoutPending) return;
    m_layoutPending = true;
    PostMessage(WM_RECALCPARENT);
}

LRESULT CFrameWnd::OnDelayedLayout(WPARAM, LPARAM) {
    if (!m_layoutPending) return 0;
    m_layoutPending = false;
    RecalcLayout();
    // A mini frame whose bar docked again is no longer needed; nothing of it runs now.
    std::vector<CMiniDockFrameWnd*> minis = m_miniFrames;
    for (CMiniDockFrameWnd* mini : minis)
        if (mini->m_wndDockBar.GetDockedCount() == 0) mini->DestroyWindow();
    return 0;
}

LRESULT CFrameWnd::OnWindowPosChanged(WPARAM, LPARAM pos) {
    LRESULT result = Default();
    // Floating bars go out of sight with their frame (a capture must not see them) and come back
    // with it.
    UINT flags = reinterpret_cast<WINDOWPOS*>(pos)->flags;
    if (flags & (SWP_HIDEWINDOW | SWP_SHOWWINDOW)) {
        std::vector<CMiniDockFrameWnd*> minis = m_miniFrames;
        for (CMiniDockFrameWnd* mini : minis) mini->FollowDockSite();
    }
    return result;
}

LRESULT CFrameWnd::OnSettingChange(WPARAM wParam, LPARAM lParam) {
    // Child windows hear of system setting changes only through their frame.
    SendMessageToDescendants(WM_SETTINGCHANGE, wParam, lParam, true);
    return Default();
}

bool CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (CWnd::OnNotify(wParam, lParam, result)) return true;
    return AnswerToolTip(reinterpret_cast<NMHDR*>(lParam));
}

bool CFrameWnd::AnswerToolTip(NMHDR* header) {
    if (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW) return false;
    auto* ansi = reinterpret_cast<NMTTDISPINFOA*>(header);
    auto* wide = reinterpret_cast<NMTTDISPINFOW*>(header);
    UINT flags = header->code == TTN_GETDISPINFOA ? ansi->uFlags : wide->uFlags;
    UINT_PTR id = header->idFrom;
    if (flags & TTF_IDISHWND) id = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(id)));
    if (id == 0 || id > 0xFFFF) return false;
    // A command's string is its status prompt, a newline, and its tooltip.
    std::string full = AfxLoadString(static_cast<UINT>(id));
    size_t newline = full.find('\n');
    std::string tip = newline == std::string::npos ? std::string() : full.substr(newline + 1);
    tip = tip.substr(0, tip.find('\n'));
    if (header->code == TTN_GETDISPINFOA) {
        ::lstrcpynA(ansi->szText, tip.c_str(), sizeof ansi->szText);
        ansi->lpszText = ansi->szText;
        ansi->hinst = nullptr;
    } else {
        wide->szText[0] = 0;
        ::MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, wide->szText, sizeof wide->szText / sizeof(WCHAR));
        wide->szText[sizeof wide->szText / sizeof(WCHAR) - 1] = 0;
        wide->lpszText = wide->szText;
        wide->hinst = nullptr;
    }
    return true;
}
