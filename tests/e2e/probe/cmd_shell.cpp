// The shell's side of a program: its notification-area icon, and the tables of its resources.
//
// `tray query CAPTION ID` asks the taskbar whether the window's icon ID is there (a modify that
// changes nothing succeeds only for an icon that exists); `tray delete CAPTION ID` takes it out as
// a crashing shell would lose it; `tray taskbar-created` broadcasts what a restarted shell sends.
// `accelerators FILE ID` lists an accelerator table of a program file without running it.
#include "commands.h"
#include "window_json.h"

#include <shellapi.h>

namespace {

bool notifyIcon(DWORD action, HWND window, UINT id) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = 0;
    return Shell_NotifyIconA(action, &data) != FALSE;
}

}  // namespace

int cmdTray(Invocation& inv, JsonWriter& out) {
    const char* synopsis = "tray query|delete CAPTION ID | tray taskbar-created";
    if (!inv.hasArg()) return usage(out, synopsis);
    const std::string action = inv.takeArg();
    if (action == "taskbar-created") {
        if (!inv.allTaken()) return usage(out, synopsis);
        const UINT message = RegisterWindowMessageA("TaskbarCreated");
        out.field("message", static_cast<int>(message));
        out.field("posted", PostMessageA(HWND_BROADCAST, message, 0, 0) != FALSE);
        return kOk;
    }
    if ((action != "query" && action != "delete") || inv.args.size() != 1 + targetArgCount(inv) + 1)
        return usage(out, synopsis);
    int64_t id = 0;
    if (!parseNumber(inv.args.back(), &id)) return usage(out, synopsis);
    HWND window = nullptr;
    if (int code = resolveWindow(inv, out, &window)) return code;
    out.field("hwnd", handleNumber(window));
    out.field("id", static_cast<int>(id));
    if (action == "query") out.field("present", notifyIcon(NIM_MODIFY, window, static_cast<UINT>(id)));
    else out.field("deleted", notifyIcon(NIM_DELETE, window, static_cast<UINT>(id)));
    return kOk;
}

int cmdAccelerators(Invocation& inv, JsonWriter& out) {
    int64_t id = 0;
    if (inv.args.size() != 2 || !parseNumber(inv.args[1], &id)) return usage(out, "accelerators FILE ID");
    HMODULE module = LoadLibraryExA(inv.args[0].c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return fail(out, kNotFound, "cannot load the file");
    HACCEL table = LoadAcceleratorsA(module, MAKEINTRESOURCEA(static_cast<WORD>(id)));
    int code = kOk;
    if (!table) {
        code = fail(out, kNotFound, "no such accelerator table");
    } else {
        ACCEL entries[256];
        const int count = CopyAcceleratorTableA(table, entries, 256);
        out.key("entries");
        out.beginArray();
        for (int i = 0; i < count; ++i) {
            out.beginObject();
            out.field("key", static_cast<int>(entries[i].key));
            out.field("cmd", static_cast<int>(entries[i].cmd));
            out.field("virtkey", (entries[i].fVirt & FVIRTKEY) != 0);
            out.field("ctrl", (entries[i].fVirt & FCONTROL) != 0);
            out.field("shift", (entries[i].fVirt & FSHIFT) != 0);
            out.field("alt", (entries[i].fVirt & FALT) != 0);
            out.endObject();
        }
        out.endArray();
        DestroyAcceleratorTable(table);
    }
    FreeLibrary(module);
    return code;
}
