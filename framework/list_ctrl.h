#pragma once
// CListCtrl: the system's list view control, created by us or bound to a dialog's control.
#include <string>

#include <windows.h>
#include <commctrl.h>

#include "framework/wnd.h"

class CListCtrl : public CWnd {
public:
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    DWORD SetExtendedStyle(DWORD exStyle) {
        return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, exStyle));
    }
    DWORD GetExtendedStyle() { return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    // Returns the new column's index, or -1.
    int InsertColumn(int column, const char* heading, int format = LVCFMT_LEFT, int width = -1);

    int GetItemCount() const { return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }
    // The number of rows a list whose rows live with its owner (LVS_OWNERDATA) shows.
    bool SetItemCountEx(int count, DWORD flags = 0) {
        return SendMessage(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), flags) != 0;
    }
    // Returns the new item's index, or -1.
    int InsertItem(int item, const char* text);
    bool SetItemText(int item, int subItem, const char* text);
    std::string GetItemText(int item, int subItem) const;
    bool DeleteItem(int item) { return SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item)) != 0; }
    bool DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }

    // The next item after `start` (-1: from the first) with the LVNI_ flags, or -1.
    int GetNextItem(int start, int flags) const {
        return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
    }
    UINT GetSelectedCount() const { return static_cast<UINT>(::SendMessageA(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0)); }
    UINT GetItemState(int item, UINT mask) const {
        return static_cast<UINT>(::SendMessageA(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
    }
    // Item -1 sets the state of every item.
    bool SetItemState(int item, UINT state, UINT mask);
    bool EnsureVisible(int item, bool partialOK) {
        return SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), partialOK) != 0;
    }
};
