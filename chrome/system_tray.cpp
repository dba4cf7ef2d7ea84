#include "chrome/system_tray.h"

#include <cstring>

#include "chrome/chrome_text.h"

IMPLEMENT_DYNCREATE(CSystemTray)

CSystemTray::CSystemTray() : enabled(FALSE) {
    std::memset(&notifyData, 0, sizeof notifyData);
}

CSystemTray::~CSystemTray() {
    DeleteIcon();
}

UINT CSystemTray::TaskbarCreatedMessage() {
    static const UINT message = ::RegisterWindowMessageA("TaskbarCreated");
    return message;
}

BOOL CSystemTray::AddIcon(CWnd* parent, UINT callbackMessage, const char* tooltip, HICON icon, UINT id) {
    // The notification area came with the version 4 shell.
    if (LOBYTE(LOWORD(::GetVersion())) < 4 || !parent || !::IsWindow(parent->GetSafeHwnd())) {
        enabled = FALSE;
        return FALSE;
    }
    // The record of the first shell's layout: every shell since understands it.
    notifyData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    notifyData.hWnd = parent->GetSafeHwnd();
    notifyData.uID = id;
    notifyData.hIcon = icon;
    notifyData.uCallbackMessage = callbackMessage;
    notifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    chrome_text::CopyBounded(notifyData.szTip, 64, tooltip ? tooltip : "");
    enabled = ::Shell_NotifyIconA(NIM_ADD, &notifyData);
    return enabled;
}

BOOL CSystemTray::ChangeIcon(HICON icon) {
    if (!enabled) return FALSE;
    notifyData.uFlags = NIF_ICON;  // tooltip and callback stay as they were added
    notifyData.hIcon = icon;
    return ::Shell_NotifyIconA(NIM_MODIFY, &notifyData);
}

BOOL CSystemTray::SetTooltipText(const char* tooltip) {
    chrome_text::CopyBounded(notifyData.szTip, 64, tooltip ? tooltip : "");
    if (!enabled) return FALSE;  // kept for RestoreIcon
    notifyData.uFlags = NIF_TIP;
    return ::Shell_NotifyIconA(NIM_MODIFY, &notifyData);
}

BOOL CSystemTray::ChangeIcon(UINT iconResourceId) {
    // The image drawn for the notification area's size (larger at higher display scales), not the
    // large one shrunk by the shell. Shared: the system frees it, never we.
    HICON icon = static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconResourceId), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                 LR_SHARED));
    if (!icon) icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconResourceId));
    return ChangeIcon(icon);
}

BOOL CSystemTray::DeleteIcon() {
    if (!enabled) return FALSE;
    notifyData.uFlags = 0;
    BOOL result = ::Shell_NotifyIconA(NIM_DELETE, &notifyData);
    enabled = FALSE;
    return result;
}

BOOL CSystemTray::RestoreIcon() {
    if (!enabled) return FALSE;  // never added, or taken out on purpose
    notifyData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    // A shell that still has the icon refuses a second add; then it only needs bringing up to date.
    enabled = ::Shell_NotifyIconA(NIM_ADD, &notifyData) || ::Shell_NotifyIconA(NIM_MODIFY, &notifyData);
    return enabled;
}

LRESULT CSystemTray::OnIconNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam != notifyData.uID) return 0;
    switch (LOWORD(lParam)) {
    case WM_RBUTTONUP: return ShowMenu();
    case WM_LBUTTONDBLCLK: return RunDoubleClickCommand();
    default: return 1;  // moves, single clicks: nothing to do
    }
}

HMENU CSystemTray::LoadPopup(HMENU* menu) const {
    *menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(notifyData.uID));
    if (!*menu) return nullptr;
    HMENU popup = ::GetSubMenu(*menu, 0);
    if (!popup) {
        ::DestroyMenu(*menu);
        *menu = nullptr;
    }
    return popup;
}

LRESULT CSystemTray::ShowMenu() {
    HMENU menu = nullptr;
    HMENU popup = LoadPopup(&menu);
    if (!popup) return 0;
    ::SetMenuDefaultItem(popup, kDefaultItemPosition, TRUE);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere, and the
    // null message afterwards lets it close at once when the owner is clicked next.
    ::SetForegroundWindow(notifyData.hWnd);
    ::TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, notifyData.hWnd, nullptr);
    ::PostMessageA(notifyData.hWnd, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
    return 1;
}

LRESULT CSystemTray::RunDoubleClickCommand() {
    HMENU menu = nullptr;
    HMENU popup = LoadPopup(&menu);
    if (!popup) return 0;
    const UINT command = ::GetMenuItemID(popup, kDoubleClickPosition);
    ::SetForegroundWindow(notifyData.hWnd);
    ::SendMessageA(notifyData.hWnd, WM_COMMAND, command, 0);
    ::DestroyMenu(menu);
    return 1;
}
