// probehook.dll: the part of the probe that runs inside the target's thread (see menu_hook.h).
#include "menu_hook.h"
#include "menu_tree.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

void answer(const CWPSTRUCT& call) {
    const std::string name = menu_hook::kMappingPrefix + std::to_string(static_cast<unsigned long>(call.lParam));
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str());
    if (!mapping) return;
    if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, menu_hook::kMappingBytes)) {
        HMENU menu = menu_hook::menuOfWindow(call.hwnd);
        if (menu && call.wParam == menu_hook::kInitThenRead) initMenuPopups(call.hwnd, menu);
        JsonWriter out;
        if (menu) writeMenuItems(out, menu, GetMenu(call.hwnd) == menu ? call.hwnd : nullptr); else out.null();
        const DWORD length = static_cast<DWORD>(
            std::min<size_t>(out.text().size(), menu_hook::kMappingBytes - sizeof(DWORD)));
        std::memcpy(static_cast<char*>(view) + sizeof(DWORD), out.text().data(), length);
        std::memcpy(view, &length, sizeof length);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeCallWndProc(int code, WPARAM wp, LPARAM lp) {
    static const UINT readMenu = RegisterWindowMessageA(menu_hook::kMessageName);
    if (code == HC_ACTION) {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (call->message == readMenu) answer(*call);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}
