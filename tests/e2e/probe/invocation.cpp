#include "invocation.h"

#include "win_text.h"

#include <cstdio>
#include <cstdlib>

bool parseNumber(const std::string& text, int64_t* number) {
    if (text.empty()) return false;
    const char* start = text.c_str();
    bool negative = *start == '-';
    if (negative) ++start;
    int base = 10;
    if (start[0] == '0' && (start[1] == 'x' || start[1] == 'X')) {
        base = 16;
        start += 2;
    }
    if (!*start) return false;
    char* end = nullptr;
    unsigned long long magnitude = std::strtoull(start, &end, base);
    if (*end || magnitude > 0xFFFFFFFFull) return false;
    *number = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

bool parseInvocation(int argc, char** argv, Invocation* inv) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto needValue = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "probe: %s needs a value\n", name);
                return nullptr;
            }
            return argv[++i];
        };
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--visible") {
            inv->query.visibleOnly = true;
        } else if (!optionsEnded && arg == "--init") {
            inv->initMenus = true;
        } else if (!optionsEnded && arg == "--class") {
            const char* v = needValue("--class");
            if (!v) return false;
            inv->query.byClass = true;
            inv->query.className = v;
        } else if (!optionsEnded && arg == "--timeout") {
            const char* v = needValue("--timeout");
            int64_t ms = 0;
            if (!v || !parseNumber(v, &ms) || ms < 0) {
                std::fprintf(stderr, "probe: --timeout needs milliseconds\n");
                return false;
            }
            inv->timeoutMs = static_cast<DWORD>(ms);
        } else if (!optionsEnded && arg == "--hwnd") {
            const char* v = needValue("--hwnd");
            int64_t h = 0;
            if (!v || !parseNumber(v, &h)) {
                std::fprintf(stderr, "probe: --hwnd needs a window handle number\n");
                return false;
            }
            inv->query.byHandle = true;
            inv->query.handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(h));
        } else if (!optionsEnded && arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "probe: unknown option %s\n", arg.c_str());
            return false;
        } else if (inv->command.empty()) {
            inv->command = arg;
        } else {
            inv->args.push_back(arg);
        }
    }
    return !inv->command.empty();
}

int fail(JsonWriter& out, int code, const std::string& message) {
    out.field("error", message);
    return code;
}

int usage(JsonWriter& out, const char* synopsis) {
    std::fprintf(stderr, "usage: probe.exe %s\n", synopsis);
    return fail(out, kUsage, std::string("usage: ") + synopsis);
}

size_t targetArgCount(const Invocation& inv) { return inv.query.byHandle ? 0 : 1; }

static int takeCaption(Invocation& inv, JsonWriter& out) {
    if (inv.query.byHandle) return kOk;
    if (!inv.hasArg()) return fail(out, kUsage, "the target window's caption is missing");
    inv.query.byCaption = true;
    inv.query.caption = inv.takeArg();
    return kOk;
}

static int notFound(Invocation& inv, JsonWriter& out, const char* what) {
    out.field("error", std::string(what) + " not found");
    if (inv.query.byCaption) out.field("caption", utf8FromAnsi(inv.query.caption));
    if (inv.query.byHandle) out.field("hwnd", static_cast<int64_t>(reinterpret_cast<uintptr_t>(inv.query.handle)));
    return kNotFound;
}

int resolveWindow(Invocation& inv, JsonWriter& out, HWND* window) {
    if (int code = takeCaption(inv, out)) return code;
    *window = nullptr;
    pollUntil(inv.timeoutMs, [&] { return (*window = findTopLevel(inv.query)) != nullptr; });
    return *window ? kOk : notFound(inv, out, "window");
}

static int resolveInside(Invocation& inv, JsonWriter& out, const std::function<HWND(HWND)>& findInside,
                         const std::string& what, HWND* window, HWND* inside) {
    *window = *inside = nullptr;
    pollUntil(inv.timeoutMs, [&] {
        *window = findTopLevel(inv.query);
        *inside = *window ? findInside(*window) : nullptr;
        return *inside != nullptr;
    });
    if (!*window) return notFound(inv, out, "window");
    if (!*inside) return notFound(inv, out, what.c_str());
    return kOk;
}

int resolveControl(Invocation& inv, JsonWriter& out, HWND* window, HWND* control) {
    if (int code = takeCaption(inv, out)) return code;
    int64_t number = 0;
    if (!inv.hasArg() || !parseNumber(inv.takeArg(), &number))
        return fail(out, kUsage, "the control id is missing or not a number");
    const int id = static_cast<int>(number);
    out.field("id", id);
    return resolveInside(inv, out, [id](HWND w) { return findDescendantById(w, id); }, "control", window, control);
}

int resolveDescendantOfClass(Invocation& inv, JsonWriter& out, const char* className, HWND* window, HWND* control) {
    if (int code = takeCaption(inv, out)) return code;
    return resolveInside(inv, out, [className](HWND w) { return findDescendantByClass(w, className); },
                         className, window, control);
}
