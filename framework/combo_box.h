#pragma once
// A combo box (here mostly drop-down lists).
#include <string>

#include <windows.h>

#include "framework/wnd.h"

class CComboBox : public CWnd {
public:
    int AddString(const char* text) {
        return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    // -1 clears the selection; an index past the list selects nothing.
    int SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, index)); }
    // The selected index, or CB_ERR (-1) when nothing is selected.
    int GetCurSel() { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int GetCount() { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    std::string GetLBText(int index) {
        LRESULT length = SendMessage(CB_GETLBTEXTLEN, index);
        if (length == CB_ERR) return {};
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessage(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        return text;
    }
};
