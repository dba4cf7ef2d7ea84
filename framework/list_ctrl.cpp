#include "framework/list_ctrl.h"

#include <vector>

bool CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, WC_LISTVIEWA, nullptr, style | WS_CHILD, rect, parent ? parent->m_hWnd : nullptr, id);
}

int CListCtrl::InsertColumn(int column, const char* heading, int format, int width) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM | (width >= 0 ? LVCF_WIDTH : 0);
    c.fmt = format;
    c.cx = width;
    c.pszText = const_cast<char*>(heading);
    c.iSubItem = column;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c)));
}

int CListCtrl::InsertItem(int item, const char* text) {
    LVITEMA i{};
    i.mask = LVIF_TEXT;
    i.iItem = item;
    i.pszText = const_cast<char*>(text);
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&i)));
}

bool CListCtrl::SetItemText(int item, int subItem, const char* text) {
    LVITEMA i{};
    i.iSubItem = subItem;
    i.pszText = const_cast<char*>(text);
    return SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&i)) != 0;
}

std::string CListCtrl::GetItemText(int item, int subItem) const {
    // The control copies at most the buffer's size less one: grow until the text fits.
    for (size_t size = 264;; size *= 4) {
        std::vector<char> buffer(size, '\0');
        LVITEMA i{};
        i.iSubItem = subItem;
        i.pszText = buffer.data();
        i.cchTextMax = static_cast<int>(size);
        const size_t length = static_cast<size_t>(
            ::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&i)));
        if (length + 1 < size || size >= 65536) return std::string(buffer.data(), length < size ? length : size - 1);
    }
}

bool CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEMA i{};
    i.state = state;
    i.stateMask = mask;
    return SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&i)) != 0;
}
