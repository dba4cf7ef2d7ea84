// `toolbar CAPTION` and `tooltip`: toolbar buttons and the tooltip shown over them.
#include "commands.h"
#include "remote_buffer.h"
#include "win_text.h"
#include "window_json.h"

#include <commctrl.h>

int cmdToolbar(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() != targetArgCount(inv)) return usage(out, "toolbar CAPTION");
    HWND window = nullptr, bar = nullptr;
    if (int code = resolveDescendantOfClass(inv, out, TOOLBARCLASSNAMEA, &window, &bar)) return code;
    // TB_GETBUTTON and TB_GETITEMRECT fill a structure: it lives in the toolbar's process.
    RemoteBuffer remote(bar, 256);
    if (!remote.ok()) return fail(out, kFailed, "cannot allocate memory in the toolbar's process");
    RECT place{};
    GetWindowRect(bar, &place);
    out.field("hwnd", handleNumber(bar));
    out.field("id", GetDlgCtrlID(bar));
    writeRect(out, "rect", place);
    out.field("visible", IsWindowVisible(bar) != FALSE);
    LRESULT count = 0;
    sendWithTimeout(bar, TB_BUTTONCOUNT, 0, 0, &count);
    out.key("buttons");
    out.beginArray();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        sendWithTimeout(bar, TB_GETBUTTON, i, remote.at());
        remote.read(&button, sizeof button);
        RECT rect{};
        sendWithTimeout(bar, TB_GETITEMRECT, i, remote.at());
        remote.read(&rect, sizeof rect);
        MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        out.beginObject();
        out.field("index", i);
        out.field("separator", (button.fsStyle & BTNS_SEP) != 0);
        out.field("id", (button.fsStyle & BTNS_SEP) ? 0 : button.idCommand);
        out.field("enabled", (button.fsState & TBSTATE_ENABLED) != 0);
        out.field("checked", (button.fsState & TBSTATE_CHECKED) != 0);
        out.field("wrap", (button.fsState & TBSTATE_WRAP) != 0);
        writeRect(out, "rect", rect);
        out.endObject();
    }
    out.endArray();
    return kOk;
}

int cmdTooltip(Invocation& inv, JsonWriter& out) {
    if (!inv.args.empty()) return usage(out, "tooltip");
    WindowQuery query;
    query.byClass = true;
    query.className = TOOLTIPS_CLASSA;
    query.visibleOnly = true;
    HWND tip = nullptr;
    pollUntil(inv.timeoutMs, [&] { return (tip = findTopLevel(query)) != nullptr; });
    if (!tip) return fail(out, kNotFound, "no tooltip is shown");
    RECT rect{};
    GetWindowRect(tip, &rect);
    out.field("hwnd", handleNumber(tip));
    writeRect(out, "rect", rect);
    out.field("text", controlText(tip));  // the text shown; the window has no caption of its own
    return kOk;
}
