#pragma once
// Thin wrappers of the common controls the dialogs use (bound to existing controls by
// SubclassDlgItem, or used through their window handle).
#include <windows.h>
#include <commctrl.h>

#include "framework/wnd.h"

// A push button, check box, radio button or group box.
class CButton : public CWnd {
public:
    int GetCheck() { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, check); }
};

// An edit control.
class CEdit : public CWnd {};

// A static control (text, icon or frame).
class CStatic : public CWnd {
public:
    HICON SetIcon(HICON icon) {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
    HICON GetIcon() { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
};

// A trackbar.
class CSliderCtrl : public CWnd {
public:
    void SetRange(int low, int high, bool redraw = false) {
        SendMessage(TBM_SETRANGE, redraw, MAKELPARAM(low, high));
    }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
    int GetPos() { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetTic(int pos) { SendMessage(TBM_SETTIC, 0, pos); }
};

// An up-down control, usually with a buddy edit that shows its position.
class CSpinButtonCtrl : public CWnd {
public:
    void SetBuddy(HWND buddy) { SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy)); }
    void SetRange(int low, int high) { SendMessage(UDM_SETRANGE32, low, high); }
    void SetPos(int pos) { SendMessage(UDM_SETPOS32, 0, pos); }
    int GetPos() { return static_cast<int>(SendMessage(UDM_GETPOS32)); }
};
