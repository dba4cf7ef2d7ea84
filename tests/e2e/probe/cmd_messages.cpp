// Commands that act on a window: clicks, commands, raw messages, closing, setting texts, and the
// hot-key check.
#include "commands.h"
#include "remote_buffer.h"
#include "window_json.h"

#include <vector>

namespace {

bool takeNumber(Invocation& inv, int64_t* number) { return inv.hasArg() && parseNumber(inv.takeArg(), number); }

// The numbers after the target's caption, checked before any waiting for the target.
bool numbersAfterTarget(const Invocation& inv, size_t count) {
    const size_t first = targetArgCount(inv);
    if (inv.args.size() != first + count) return false;
    int64_t ignored = 0;
    for (size_t i = first; i < inv.args.size(); ++i)
        if (!parseNumber(inv.args[i], &ignored)) return false;
    return true;
}

void writeTarget(JsonWriter& out, HWND window) {
    out.field("hwnd", handleNumber(window));
}

int postTo(JsonWriter& out, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (!PostMessageA(hwnd, msg, wp, lp)) return fail(out, kFailed, "PostMessage failed");
    out.field("posted", true);
    return kOk;
}

}  // namespace

// BM_CLICK is posted: the button's handler may open a modal loop (a message box, a dialog), and the
// probe must not wait for that to end.
int cmdClick(Invocation& inv, JsonWriter& out) {
    if (!numbersAfterTarget(inv, 1)) return usage(out, "click CAPTION ID");
    HWND window = nullptr, control = nullptr;
    if (int code = resolveControl(inv, out, &window, &control)) return code;
    writeTarget(out, window);
    out.field("control", handleNumber(control));
    out.field("enabled", IsWindowEnabled(control) != FALSE);
    return postTo(out, control, BM_CLICK, 0, 0);
}

int cmdCommand(Invocation& inv, JsonWriter& out) {
    if (!numbersAfterTarget(inv, 1)) return usage(out, "command CAPTION ID");
    HWND window = nullptr;
    if (int code = resolveWindow(inv, out, &window)) return code;
    int64_t id = 0;
    takeNumber(inv, &id);
    writeTarget(out, window);
    return postTo(out, window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
}

// `command-all`: the same command to every top-level window with that caption (two running copies
// of a program), posted back to back so that they start their work at nearly the same moment.
int cmdCommandAll(Invocation& inv, JsonWriter& out) {
    if (!numbersAfterTarget(inv, 1) || inv.query.byHandle) return usage(out, "command-all CAPTION ID");
    inv.query.byCaption = true;
    inv.query.caption = inv.takeArg();
    int64_t id = 0;
    takeNumber(inv, &id);
    std::vector<HWND> targets;
    pollUntil(inv.timeoutMs, [&] {
        targets.clear();
        for (HWND hwnd : topLevelWindows())
            if (inv.query.matches(hwnd)) targets.push_back(hwnd);
        return !targets.empty();
    });
    if (targets.empty()) return fail(out, kNotFound, "no window " + inv.query.caption);
    int posted = 0;
    for (HWND hwnd : targets)
        if (PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0)) ++posted;
    out.key("hwnds");
    out.beginArray();
    for (HWND hwnd : targets) out.value(handleNumber(hwnd));
    out.endArray();
    out.field("posted", posted);
    return posted == static_cast<int>(targets.size()) ? kOk : fail(out, kFailed, "PostMessage failed");
}

namespace {

struct RawMessage {
    HWND window = nullptr;
    UINT msg = 0;
    WPARAM wp = 0;
    LPARAM lp = 0;
};

// `post`/`send`: the target window and the three numbers after it.
int resolveRawMessage(Invocation& inv, JsonWriter& out, const char* synopsis, RawMessage* m) {
    if (!numbersAfterTarget(inv, 3)) return usage(out, synopsis);
    if (int code = resolveWindow(inv, out, &m->window)) return code;
    int64_t msg = 0, wp = 0, lp = 0;
    takeNumber(inv, &msg);
    takeNumber(inv, &wp);
    takeNumber(inv, &lp);
    m->msg = static_cast<UINT>(msg);
    m->wp = static_cast<WPARAM>(wp);
    m->lp = static_cast<LPARAM>(lp);
    writeTarget(out, m->window);
    return kOk;
}

}  // namespace

int cmdPost(Invocation& inv, JsonWriter& out) {
    RawMessage m;
    if (int code = resolveRawMessage(inv, out, "post CAPTION MSG WPARAM LPARAM", &m)) return code;
    return postTo(out, m.window, m.msg, m.wp, m.lp);
}

int cmdSend(Invocation& inv, JsonWriter& out) {
    RawMessage m;
    if (int code = resolveRawMessage(inv, out, "send CAPTION MSG WPARAM LPARAM", &m)) return code;
    LRESULT result = 0;
    if (!sendWithTimeout(m.window, m.msg, m.wp, m.lp, &result))
        return fail(out, kFailed, "no answer within 5000 ms");
    out.field("result", static_cast<long>(result));
    return kOk;
}

int cmdClose(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() != targetArgCount(inv)) return usage(out, "close CAPTION");
    HWND window = nullptr;
    if (int code = resolveWindow(inv, out, &window)) return code;
    writeTarget(out, window);
    return postTo(out, window, WM_CLOSE, 0, 0);
}

// WM_SETTEXT carries a string, which the system copies into the target process.
int cmdSetText(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() != targetArgCount(inv) + 2) return usage(out, "settext CAPTION ID TEXT");
    HWND window = nullptr, control = nullptr;
    if (int code = resolveControl(inv, out, &window, &control)) return code;
    const std::string& text = inv.takeArg();
    writeTarget(out, window);
    out.field("control", handleNumber(control));
    LRESULT result = 0;
    if (!sendWithTimeout(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &result))
        return fail(out, kFailed, "no answer within 5000 ms");
    out.field("result", static_cast<long>(result));
    return kOk;
}

// Whether the key combination is free: RegisterHotKey fails while another process holds it.
int cmdHotKey(Invocation& inv, JsonWriter& out) {
    int64_t vk = 0, mods = 0;
    if (inv.args.size() != 2 || !takeNumber(inv, &vk) || !takeNumber(inv, &mods))
        return usage(out, "hotkey VK MODS");
    const int id = 0x7A11;
    const bool registered = RegisterHotKey(nullptr, id, static_cast<UINT>(mods), static_cast<UINT>(vk)) != FALSE;
    const DWORD error = registered ? 0 : GetLastError();
    if (registered) UnregisterHotKey(nullptr, id);
    out.field("vk", static_cast<int>(vk));
    out.field("mods", static_cast<int>(mods));
    out.field("registered", registered);
    out.field("last_error", error);
    return kOk;
}
