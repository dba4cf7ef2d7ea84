// Reading a menu inside its own process. Under Wine a menu handle means nothing to other
// processes, so the probe hooks the window's thread with probehook.dll (WH_CALLWNDPROC), sends it a
// registered message, and the hook, now running in that thread, writes the menu's JSON into a
// named shared memory block that the probe then reads.
#pragma once

#include <windows.h>

namespace menu_hook {

const char kMessageName[] = "TessalyProbe.ReadMenu";
// Followed by the probe's process id (the message's LPARAM), so that parallel probes never meet.
const char kMappingPrefix[] = "TessalyProbe.Menu.";
const DWORD kMappingBytes = 1 << 20;

// wParam of the message: what the hook does first.
const WPARAM kReadOnly = 0;
const WPARAM kInitThenRead = 1;  // send WM_INITMENUPOPUP for every submenu first

// The block: a DWORD with the length of the JSON text, then the text (no terminator needed).

// The menu a window shows: its menu bar, or for an open popup menu (class "#32768") the popup's.
inline HMENU menuOfWindow(HWND window) {
    char cls[16] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (lstrcmpA(cls, "#32768") == 0) return reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    return GetMenu(window);
}
}  // namespace menu_hook
