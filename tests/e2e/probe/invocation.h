// One run of the probe: `probe.exe COMMAND [options] [--] ARGS...`, parsed, plus the helpers every
// command shares (finding its target window within --timeout, reporting errors).
#pragma once

#include "json_writer.h"
#include "window_query.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

enum ExitCode {
    kOk = 0,
    kNotFound = 1,  // the window, control or clipboard image did not appear within --timeout
    kUsage = 2,     // wrong arguments
    kFailed = 3,    // the target was there but the operation failed (reason in "error")
};

struct Invocation {
    std::string command;
    std::vector<std::string> args;  // positional, after the command
    WindowQuery query;              // --class, --visible, --hwnd; the caption comes from args
    DWORD timeoutMs = 0;            // --timeout MS (0: look once)
    bool initMenus = false;         // --init: `menu` sends WM_INITMENUPOPUP to every submenu first

    size_t next = 0;  // index of the next positional argument not yet taken
    bool hasArg() const { return next < args.size(); }
    const std::string& takeArg() { return args[next++]; }
    bool allTaken() const { return next == args.size(); }
};

// Parses the command line into `inv`; false (with a message on stderr) on a malformed option.
bool parseInvocation(int argc, char** argv, Invocation* inv);

// "123", "-5", "0x1F": the way numbers are given on the command line.
bool parseNumber(const std::string& text, int64_t* number);

// Writes {"error": message} fields and returns `code`.
int fail(JsonWriter& out, int code, const std::string& message);
int usage(JsonWriter& out, const char* synopsis);

// How many positional arguments name the target: 1 (its caption), or 0 when --hwnd names it.
size_t targetArgCount(const Invocation& inv);

// Consumes the target's caption (unless --hwnd names the window) and finds the top-level window,
// polling until --timeout. On failure the error is written and the exit code returned.
int resolveWindow(Invocation& inv, JsonWriter& out, HWND* window);

// As resolveWindow, then consumes a control id and finds that descendant inside the window, within
// the same --timeout.
int resolveControl(Invocation& inv, JsonWriter& out, HWND* window, HWND* control);

// As resolveWindow, then the first descendant of that window class, within the same --timeout.
int resolveDescendantOfClass(Invocation& inv, JsonWriter& out, const char* className, HWND* window, HWND* control);
