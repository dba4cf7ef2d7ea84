#include "menu_tree.h"

#include "win_text.h"

namespace {

const int kMaxDepth = 8;

// Where an item is on screen while its menu is shown (`owner`: the window of a menu bar; null for
// a popup menu), as a field "rect" that is null while it is not shown.
void writeItemRect(JsonWriter& out, HWND owner, HMENU menu, int pos) {
    RECT r{};
    out.key("rect");
    if (GetMenuItemRect(owner, menu, pos, &r) && r.right > r.left && r.bottom > r.top) {
        out.beginArray();
        out.value(static_cast<int64_t>(r.left));
        out.value(static_cast<int64_t>(r.top));
        out.value(static_cast<int64_t>(r.right));
        out.value(static_cast<int64_t>(r.bottom));
        out.endArray();
    } else {
        out.null();
    }
}

void writeItems(JsonWriter& out, HMENU menu, HWND owner, int depth) {
    out.beginArray();
    const int count = GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        char text[512] = "";
        MENUITEMINFOA item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(menu, pos, TRUE, &item)) continue;
        // MENUITEMINFO folds grayed and disabled into one value; the old call tells them apart.
        const UINT state = GetMenuState(menu, pos, MF_BYPOSITION);
        out.beginObject();
        out.field("id", static_cast<int>(item.wID));
        out.field("text", utf8FromAnsi(text));
        out.field("separator", (item.fType & MFT_SEPARATOR) != 0);
        out.field("grayed", (state & MF_GRAYED) != 0);
        out.field("disabled", (state & MF_DISABLED) != 0);
        out.field("checked", (item.fState & MFS_CHECKED) != 0);
        out.field("default", (item.fState & MFS_DEFAULT) != 0);
        out.field("radio", (item.fType & MFT_RADIOCHECK) != 0);
        writeItemRect(out, owner, menu, pos);
        out.key("submenu");
        if (item.hSubMenu && depth < kMaxDepth) writeItems(out, item.hSubMenu, nullptr, depth + 1); else out.null();
        out.endObject();
    }
    out.endArray();
}

void initPopups(HWND owner, HMENU menu, int depth) {
    const int count = GetMenuItemCount(menu);
    for (int pos = 0; pos < count && depth < kMaxDepth; ++pos) {
        HMENU sub = GetSubMenu(menu, pos);
        if (!sub) continue;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(pos, FALSE),
                            SMTO_ABORTIFHUNG, 2000, &ignored);
        initPopups(owner, sub, depth + 1);
    }
}

}  // namespace

bool menuReadable(HMENU menu) { return GetMenuItemCount(menu) >= 0; }

void writeMenuItems(JsonWriter& out, HMENU menu, HWND owner) { writeItems(out, menu, owner, 0); }

void initMenuPopups(HWND owner, HMENU menu) { initPopups(owner, menu, 0); }
