#include "window_json.h"

#include "remote_buffer.h"
#include "win_text.h"

int64_t handleNumber(const void* handle) { return static_cast<int64_t>(reinterpret_cast<uintptr_t>(handle)); }

void writeRect(JsonWriter& out, const char* name, const RECT& r) {
    out.intArrayField(name, {r.left, r.top, r.right, r.bottom});
}

static RECT clientRectOnScreen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    MapWindowPoints(hwnd, nullptr, corners, 2);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void writeWindowFields(JsonWriter& out, HWND hwnd) {
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
    const LONG style = GetWindowLongA(hwnd, GWL_STYLE);
    const LONG exstyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
    RECT rect{};
    GetWindowRect(hwnd, &rect);

    out.field("hwnd", handleNumber(hwnd));
    out.field("pid", pid);
    out.field("tid", tid);
    out.field("class", windowClass(hwnd));
    out.field("caption", windowCaption(hwnd));
    out.field("visible", IsWindowVisible(hwnd) != FALSE);
    out.field("enabled", IsWindowEnabled(hwnd) != FALSE);
    out.field("minimized", IsIconic(hwnd) != FALSE);
    out.field("maximized", IsZoomed(hwnd) != FALSE);
    out.field("topmost", (exstyle & WS_EX_TOPMOST) != 0);
    writeRect(out, "rect", rect);
    writeRect(out, "client", clientRectOnScreen(hwnd));
    out.field("style", static_cast<unsigned long>(style));
    out.field("exstyle", static_cast<unsigned long>(exstyle));
    out.field("owner", handleNumber(GetWindow(hwnd, GW_OWNER)));
    HWND parent = GetAncestor(hwnd, GA_PARENT);
    out.field("parent", handleNumber(parent == GetDesktopWindow() ? nullptr : parent));
}

void writeControl(JsonWriter& out, HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    const std::string cls = windowClass(hwnd);
    out.beginObject();
    out.field("hwnd", handleNumber(hwnd));
    out.field("id", GetDlgCtrlID(hwnd));
    out.field("class", cls);
    out.field("text", controlText(hwnd));
    writeRect(out, "rect", rect);
    out.field("visible", IsWindowVisible(hwnd) != FALSE);
    out.field("enabled", IsWindowEnabled(hwnd) != FALSE);
    LRESULT check = 0;
    if (lstrcmpiA(cls.c_str(), "Button") == 0 && sendWithTimeout(hwnd, BM_GETCHECK, 0, 0, &check, 2000))
        out.field("checked", static_cast<int>(check));
    else
        out.nullField("checked");
    out.field("style", static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)));
    out.field("exstyle", static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
    out.field("parent", handleNumber(GetParent(hwnd)));
    out.endObject();
}
