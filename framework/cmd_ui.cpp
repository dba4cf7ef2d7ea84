#include "framework/message_map.h"

void CCmdUI::Enable(bool on) {
    if (m_pMenu)
        EnableMenuItem(m_pMenu, m_nIndex, MF_BYPOSITION | (on ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(int check) {
    if (m_pMenu) CheckMenuItem(m_pMenu, m_nIndex, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(const char* text) {
    if (!m_pMenu) return;
    UINT state = GetMenuState(m_pMenu, m_nIndex, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    ModifyMenuA(m_pMenu, m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, text);
}

bool CCmdUI::DoUpdate(CCmdTarget* target, bool disableIfNoHandler) {
    m_bEnableChanged = false;
    bool answered = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!answered && disableIfNoHandler && !m_bEnableChanged) {
        // No rule: the item is usable exactly when somebody on the route handles the command.
        HandlerInfo info;
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, nullptr, &info));
    }
    return answered;
}
