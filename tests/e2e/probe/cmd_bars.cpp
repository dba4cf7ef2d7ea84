// `toolbar CAPTION`, `tooltip` and `dragfull N`: toolbar buttons and the tooltip shown over them,
// and the system's full-window dragging setting that decides how bars are sized.
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

int cmdDragFull(Invocation& inv, JsonWriter& out) {
    int64_t on = 0;
    if (inv.args.size() != 1 || !parseNumber(inv.args[0], &on)) return usage(out, "dragfull 0|1");
    // Set and announced as the control panel does: top-level windows get WM_SETTINGCHANGE.
    if (!SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, on ? TRUE : FALSE, nullptr,
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE))
        return fail(out, kFailed, "SPI_SETDRAGFULLWINDOWS failed");
    BOOL now = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &now, 0);
    out.field("dragfullwindows", now != FALSE);
    return kOk;
}
