// `dialog CAPTION`: what a dialog or message box shows.
#include "commands.h"
#include "remote_buffer.h"
#include "system_icon.h"
#include "win_text.h"
#include "window_json.h"

namespace {

// Message boxes keep their text in the static with id 0xFFFF (on Windows and in Wine).
const int kMessageTextId = 0xFFFF;

bool isTextStatic(HWND hwnd) {
    if (lstrcmpiA(windowClass(hwnd).c_str(), "Static") != 0) return false;
    switch (GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) {
    case SS_ICON: case SS_BITMAP: case SS_ENHMETAFILE: case SS_OWNERDRAW:
    case SS_BLACKRECT: case SS_GRAYRECT: case SS_WHITERECT:
    case SS_BLACKFRAME: case SS_GRAYFRAME: case SS_WHITEFRAME: case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT: case SS_ETCHEDFRAME:
        return false;
    default:
        return true;
    }
}

void writeIcon(JsonWriter& out, HWND iconStatic) {
    RECT rect{};
    GetWindowRect(iconStatic, &rect);
    const IconIdentity identity = identifySystemIcon(iconStatic);
    out.key("icon");
    out.beginObject();
    out.field("hwnd", handleNumber(iconStatic));
    out.field("id", GetDlgCtrlID(iconStatic));
    writeRect(out, "rect", rect);
    if (identity.kind.empty()) out.nullField("kind"); else out.field("kind", identity.kind);
    if (identity.method.empty()) out.nullField("method"); else out.field("method", identity.method);
    out.field("match", identity.match);
    out.endObject();
}

void writeFocus(JsonWriter& out, HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    out.key("focus");
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) {
        out.null();
        return;
    }
    out.beginObject();
    out.field("hwnd", handleNumber(info.hwndFocus));
    // A top-level window's "id" is its menu handle: only children have control ids.
    if (GetWindowLongA(info.hwndFocus, GWL_STYLE) & WS_CHILD) out.field("id", GetDlgCtrlID(info.hwndFocus));
    else out.nullField("id");
    out.field("class", windowClass(info.hwndFocus));
    out.endObject();
}

// DM_GETDEFID is a dialog message; other window classes may use the number for something else.
void writeDefaultId(JsonWriter& out, HWND window) {
    LRESULT result = 0;
    if (windowClass(window) == "#32770" && sendWithTimeout(window, DM_GETDEFID, 0, 0, &result, 2000) &&
        HIWORD(result) == DC_HASDEFID) {
        out.field("defid", static_cast<int>(LOWORD(result)));
    } else {
        out.nullField("defid");
    }
}

}  // namespace

int cmdDialog(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() != targetArgCount(inv)) return usage(out, "dialog CAPTION");
    HWND window = nullptr;
    if (int code = resolveWindow(inv, out, &window)) return code;

    out.key("window");
    out.beginObject();
    writeWindowFields(out, window);
    out.endObject();

    const std::vector<HWND> children = descendants(window);
    HWND messageText = nullptr;
    HWND iconStatic = nullptr;
    out.key("statics");
    out.beginArray();
    for (HWND child : children) {
        if (isIconStatic(child) && !iconStatic) iconStatic = child;
        if (!isTextStatic(child)) continue;
        out.value(controlText(child));
        if (LOWORD(GetDlgCtrlID(child)) == kMessageTextId && !messageText) messageText = child;
    }
    out.endArray();
    if (messageText) out.field("text", controlText(messageText)); else out.nullField("text");

    if (iconStatic) writeIcon(out, iconStatic); else out.nullField("icon");
    writeFocus(out, window);
    writeDefaultId(out, window);

    out.key("controls");
    out.beginArray();
    for (HWND child : children) writeControl(out, child);
    out.endArray();
    return kOk;
}
