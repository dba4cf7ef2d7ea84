#include "commands.h"
#include "window_json.h"

int cmdWindows(Invocation& inv, JsonWriter& out) {
    if (!inv.args.empty()) return usage(out, "windows [--visible] [--class NAME]");
    out.key("windows");
    out.beginArray();
    for (HWND hwnd : topLevelWindows()) {
        if (!inv.query.matches(hwnd)) continue;
        out.beginObject();
        writeWindowFields(out, hwnd);
        out.endObject();
    }
    out.endArray();
    return kOk;
}

int cmdFind(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() != targetArgCount(inv)) return usage(out, "find CAPTION");
    HWND window = nullptr;
    if (int code = resolveWindow(inv, out, &window)) return code;
    writeWindowFields(out, window);
    return kOk;
}

int cmdForeground(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() > 1) return usage(out, "foreground [CAPTION]");
    if (inv.hasArg()) {
        inv.query.byCaption = true;
        inv.query.caption = inv.takeArg();
    }
    // With a caption (or --class/--hwnd) and --timeout: wait until that window is in front.
    HWND window = nullptr;
    pollUntil(inv.timeoutMs, [&] {
        window = GetForegroundWindow();
        return window && inv.query.matches(window);
    });
    if (!window) return fail(out, kNotFound, "no foreground window");
    writeWindowFields(out, window);
    if (!inv.query.matches(window)) return fail(out, kNotFound, "the foreground window does not match");
    return kOk;
}
