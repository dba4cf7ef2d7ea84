// `show`: ShowWindow on another program's window, for windows that have no command of their own
// that shows them (a frame that stays hidden after a capture).
#include "commands.h"
#include "window_json.h"

int cmdShow(Invocation& inv, JsonWriter& out) {
    const size_t first = targetArgCount(inv);
    int64_t how = 0;
    if (inv.args.size() != first + 1 || !parseNumber(inv.args[first], &how)) return usage(out, "show CAPTION SW");
    HWND window = nullptr;
    if (int code = resolveWindow(inv, out, &window)) return code;
    inv.takeArg();
    out.field("hwnd", handleNumber(window));
    out.field("was_visible", IsWindowVisible(window) != FALSE);
    // Asynchronous: the target's own thread does the showing; the probe never waits on it.
    if (!ShowWindowAsync(window, static_cast<int>(how))) return fail(out, kFailed, "ShowWindowAsync failed");
    return kOk;
}
