#pragma once
// The hot-key control: shows a key combination and lets the user type a new one.
#include <windows.h>
#include <commctrl.h>

#include "framework/wnd.h"

class CHotKeyCtrl : public CWnd {
public:
    // `flags` in the control's form: HOTKEYF_SHIFT, HOTKEYF_CONTROL, HOTKEYF_ALT, HOTKEYF_EXT.
    void SetHotKey(WORD virtualKey, WORD flags) {
        SendMessage(HKM_SETHOTKEY, MAKEWORD(LOBYTE(virtualKey), LOBYTE(flags)));
    }
    void GetHotKey(WORD& virtualKey, WORD& flags) {
        WORD value = LOWORD(SendMessage(HKM_GETHOTKEY));
        virtualKey = LOBYTE(value);
        flags = HIBYTE(value);
    }
};
