// `menu CAPTION`: the window's menu bar as a tree; `popupmenu`: the open popup menu's.
//
// On Windows menus are system objects and another process reads them directly. Under Wine 8
// GetMenu answers across processes but GetMenuItemCount/GetMenuItemInfo do not (the menu's data
// lives in the process that made it), so the probe then reads it from inside that process through
// probehook.dll (see menu_hook.h). "source" says which way was taken.
#include "commands.h"
#include "menu_hook.h"
#include "menu_tree.h"
#include "window_json.h"

#include <string>

namespace {

std::string besideThisExe(const char* fileName) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir = path;
    const size_t slash = dir.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : dir.substr(0, slash + 1)) + fileName;
}

// The menu's JSON as written by the hook inside the target's thread; empty on failure.
std::string readMenuThroughHook(HWND window, bool initPopups, std::string* error) {
    const std::string name = menu_hook::kMappingPrefix + std::to_string(GetCurrentProcessId());
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        menu_hook::kMappingBytes, name.c_str());
    if (!mapping) {
        *error = "cannot create the shared block";
        return "";
    }
    std::string json;
    HMODULE dll = LoadLibraryA(besideThisExe("probehook.dll").c_str());
    auto proc = dll ? reinterpret_cast<HOOKPROC>(GetProcAddress(dll, "ProbeCallWndProc@12")) : nullptr;
    if (dll && !proc) proc = reinterpret_cast<HOOKPROC>(GetProcAddress(dll, "ProbeCallWndProc"));
    HHOOK hook = proc ? SetWindowsHookExA(WH_CALLWNDPROC, proc, dll, GetWindowThreadProcessId(window, nullptr))
                      : nullptr;
    if (!hook) {
        *error = dll ? "cannot hook the window's thread" : "probehook.dll is missing";
    } else {
        const UINT readMenu = RegisterWindowMessageA(menu_hook::kMessageName);
        DWORD_PTR ignored = 0;
        const WPARAM what = initPopups ? menu_hook::kInitThenRead : menu_hook::kReadOnly;
        if (!SendMessageTimeoutA(window, readMenu, what, static_cast<LPARAM>(GetCurrentProcessId()),
                                 SMTO_ABORTIFHUNG, 5000, &ignored)) {
            *error = "the window did not answer";
        } else if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, menu_hook::kMappingBytes)) {
            DWORD length = 0;
            memcpy(&length, view, sizeof length);
            if (length > 0 && length <= menu_hook::kMappingBytes - sizeof length)
                json.assign(static_cast<const char*>(view) + sizeof length, length);
            else
                *error = "the hook did not run in the window's thread";
            UnmapViewOfFile(view);
        }
        UnhookWindowsHookEx(hook);
    }
    if (dll) FreeLibrary(dll);
    CloseHandle(mapping);
    return json;
}

}  // namespace

namespace {

// Writes the items of `window`'s menu, read directly or through the hook.
int writeMenuOf(HWND window, HMENU menu, bool initPopups, JsonWriter& out) {
    if (menuReadable(menu)) {
        if (initPopups) initMenuPopups(window, menu);
        out.field("source", "direct");
        out.key("items");
        writeMenuItems(out, menu, GetMenu(window) == menu ? window : nullptr);
        return kOk;
    }
    std::string error;
    const std::string items = readMenuThroughHook(window, initPopups, &error);
    if (items.empty()) return fail(out, kFailed, "cannot read another process's menu here, and " + error);
    out.field("source", "hook");
    out.key("items");
    out.raw(items);
    return kOk;
}

// The open popup menu shown topmost (a visible top-level window of class "#32768"), or null.
HWND openPopupMenu() {
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[16] = "";
        GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpA(cls, "#32768") == 0 && IsWindowVisible(h)) return h;
    }
    return nullptr;
}

}  // namespace

// `popupmenu`: the items of the open popup menu (a context or notification-area menu).
int cmdPopupMenu(Invocation& inv, JsonWriter& out) {
    if (!inv.args.empty()) return usage(out, "popupmenu");
    const DWORD start = GetTickCount();
    HWND popup = openPopupMenu();
    while (!popup && GetTickCount() - start < inv.timeoutMs) {
        Sleep(50);
        popup = openPopupMenu();
    }
    if (!popup) return fail(out, kNotFound, "no popup menu is open");
    RECT rect{};
    GetWindowRect(popup, &rect);
    out.field("hwnd", handleNumber(popup));
    writeRect(out, "rect", rect);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    out.field("menu", handleNumber(menu));
    if (!menu) return fail(out, kFailed, "the popup menu has no menu");
    return writeMenuOf(popup, menu, false, out);
}

int cmdMenu(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() != targetArgCount(inv)) return usage(out, "menu CAPTION [--init]");
    HWND window = nullptr;
    if (int code = resolveWindow(inv, out, &window)) return code;
    HMENU menu = GetMenu(window);
    out.field("hwnd", handleNumber(window));
    out.field("menu", handleNumber(menu));
    if (!menu) return fail(out, kNotFound, "the window has no menu bar");
    return writeMenuOf(window, menu, inv.initMenus, out);
}
