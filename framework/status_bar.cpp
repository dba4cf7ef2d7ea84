#include "framework/status_bar.h"

#include <commctrl.h>

#include "framework/win_app.h"

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
    ON_WM_SIZE()
END_MESSAGE_MAP()

bool CStatusBar::Create(CFrameWnd* parent, DWORD style, UINT id) {
    DWORD windowStyle = (style & 0xFFFF0000u) | WS_CHILD | SBARS_SIZEGRIP | CCS_NOPARENTALIGN |
                        CCS_NORESIZE | CCS_NODIVIDER;
    if (!CreateEx(0, STATUSCLASSNAMEA, nullptr, windowStyle & ~CBRS_ALIGN_ANY, CRect(0, 0, 0, 0),
                  parent->m_hWnd, id))
        return false;
    AttachToFrame(parent, (style & 0xFFFF) | CBRS_ALIGN_BOTTOM);
    return true;
}

bool CStatusBar::SetIndicators(const UINT* ids, int count) {
    m_panes.clear();
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    for (int i = 0; i < count; ++i) {
        Pane pane{ids[i], SBPS_NORMAL, 0, ""};
        if (ids[i] != ID_SEPARATOR) {
            pane.text = AfxLoadString(ids[i]);
            SIZE extent{};
            ::GetTextExtentPoint32A(dc, pane.text.c_str(), (int)pane.text.size(), &extent);
            pane.width = extent.cx;
        }
        m_panes.push_back(pane);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    UpdateParts();
    return true;
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width) {
    if (index < 0 || index >= GetCount()) return;
    m_panes[index].id = id;
    m_panes[index].style = style;
    m_panes[index].width = width;
    UpdateParts();
}

void CStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const {
    const Pane& p = m_panes.at(index);
    id = p.id;
    style = p.style;
    width = p.width;
}

bool CStatusBar::SetPaneText(int index, const char* text) {
    if (index < 0 || index >= GetCount()) return false;
    m_panes[index].text = text ? text : "";
    UINT drawing = (m_panes[index].style & SBPS_NOBORDERS) ? SBT_NOBORDERS
                 : (m_panes[index].style & SBPS_POPOUT)    ? SBT_POPOUT : 0;
    return SendMessage(SB_SETTEXTA, index | drawing,
                       reinterpret_cast<LPARAM>(m_panes[index].text.c_str())) != 0;
}

std::string CStatusBar::GetPaneText(int index) const {
    return index >= 0 && index < GetCount() ? m_panes[index].text : std::string();
}

CSize CStatusBar::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
    // The control knows its own height from its font.
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);
    int borders[3] = {0, 0, 0};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    return CSize(32767, tm.tmHeight + 2 * borders[1] + 6);
}

void CStatusBar::OnSize(UINT type, int cx, int cy) {
    Default();
    UpdateParts();
}

void CStatusBar::UpdateParts() {
    if (!m_hWnd || m_panes.empty()) return;
    const int kPaneBorder = 6;  // the sunken edge and gap around each pane's text
    CRect client;
    GetClientRect(&client);
    int fixed = 0;
    for (const Pane& p : m_panes) fixed += p.width + kPaneBorder;
    int grip = ::GetSystemMetrics(SM_CXVSCROLL);
    int extra = client.Width() - grip - fixed;
    if (extra < 0) extra = 0;
    std::vector<int> edges;
    int right = 0;
    for (const Pane& p : m_panes) {
        right += p.width + kPaneBorder;
        if (p.style & SBPS_STRETCH) {
            right += extra;
            extra = 0;
        }
        edges.push_back(right);
    }
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < GetCount(); ++i) SetPaneText(i, m_panes[i].text.c_str());
}
