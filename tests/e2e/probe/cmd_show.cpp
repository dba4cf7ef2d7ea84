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

// `idle`: waits until the window's program waits for input (WaitForInputIdle): its start-up is
// over and its message loop runs, so what its start-up registers (a hot-key) is in place.
int cmdIdle(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() != targetArgCount(inv)) return usage(out, "idle CAPTION");
    HWND window = nullptr;
    if (int code = resolveWindow(inv, out, &window)) return code;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    out.field("hwnd", handleNumber(window));
    out.field("pid", static_cast<int64_t>(pid));
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (!process) return fail(out, kFailed, "OpenProcess failed");
    const DWORD wait = inv.timeoutMs > 0 ? inv.timeoutMs : 10000;
    const DWORD result = WaitForInputIdle(process, wait);
    CloseHandle(process);
    out.field("idle", result == 0);
    if (result == WAIT_TIMEOUT) return fail(out, kNotFound, "the program did not become idle in time");
    if (result != 0) return fail(out, kFailed, "WaitForInputIdle failed");
    return kOk;
}
