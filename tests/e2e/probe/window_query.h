// Finding the probe's target: a top-level window by exact caption (optionally class and visibility),
// or by handle; and the controls inside it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct WindowQuery {
    bool byHandle = false;
    HWND handle = nullptr;
    bool byCaption = false;
    std::string caption;     // exact, in the ANSI code page as passed on the command line
    bool byClass = false;
    std::string className;
    bool visibleOnly = false;

    bool matches(HWND hwnd) const;
};

// Top-level windows in Z order, topmost first (EnumWindows order).
std::vector<HWND> topLevelWindows();

// The first match in Z order, or null.
HWND findTopLevel(const WindowQuery& query);

// Every descendant, parents before their children (EnumChildWindows order).
std::vector<HWND> descendants(HWND parent);
HWND findDescendantById(HWND parent, int id);
HWND findDescendantByClass(HWND parent, const char* className);

// Calls `attempt` until it succeeds or `timeoutMs` has passed, about every 50 ms; a timeout of 0
// means one attempt.
bool pollUntil(DWORD timeoutMs, const std::function<bool()>& attempt);
