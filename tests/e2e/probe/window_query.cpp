#include "window_query.h"

bool WindowQuery::matches(HWND hwnd) const {
    if (byHandle && hwnd != handle) return false;
    if (visibleOnly && !IsWindowVisible(hwnd)) return false;
    if (byClass) {
        char name[256] = "";
        GetClassNameA(hwnd, name, sizeof name);
        if (className != name) return false;
    }
    if (byCaption) {
        char text[1024] = "";
        GetWindowTextA(hwnd, text, sizeof text);
        if (caption != text) return false;
    }
    return true;
}

static BOOL CALLBACK collect(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> list;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&list));
    return list;
}

HWND findTopLevel(const WindowQuery& query) {
    if (query.byHandle) {
        // A handle names one window; it may also be a child (the caller asked for it by number).
        return IsWindow(query.handle) && query.matches(query.handle) ? query.handle : nullptr;
    }
    for (HWND hwnd : topLevelWindows())
        if (query.matches(hwnd)) return hwnd;
    return nullptr;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> list;
    EnumChildWindows(parent, collect, reinterpret_cast<LPARAM>(&list));
    return list;
}

HWND findDescendantById(HWND parent, int id) {
    std::vector<HWND> all = descendants(parent);
    for (HWND hwnd : all)
        if (GetDlgCtrlID(hwnd) == id) return hwnd;
    // Dialog templates keep 16-bit ids: IDC_STATIC (-1) reads back as 0xFFFF and vice versa.
    for (HWND hwnd : all)
        if (LOWORD(GetDlgCtrlID(hwnd)) == LOWORD(id)) return hwnd;
    return nullptr;
}

HWND findDescendantByClass(HWND parent, const char* className) {
    for (HWND hwnd : descendants(parent)) {
        char name[256] = "";
        GetClassNameA(hwnd, name, sizeof name);
        if (lstrcmpiA(name, className) == 0) return hwnd;
    }
    return nullptr;
}

bool pollUntil(DWORD timeoutMs, const std::function<bool()>& attempt) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (attempt()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(50);
    }
}
