#include "agents/plimsey/window_snapshot.h"

#include <windows.h>
#include <dwmapi.h>

namespace {

using CaptureGeometry::WindowNode;

PixelRect WindowRectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

PixelRect ClientRectOnScreen(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    ::MapWindowPoints(window, nullptr, corners, 2);
    return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// Windows that are "visible" but drawn by nobody: suspended store apps and the like are cloaked
// by the compositor (the call fails where there is none, and then nothing is cloaked).
bool IsCloaked(HWND window) {
    DWORD cloaked = 0;
    return SUCCEEDED(::DwmGetWindowAttribute(window, DWMWA_CLOAKED, &cloaked, sizeof cloaked)) && cloaked;
}

WindowNode NodeOf(HWND window, const PixelRect& rect) {
    WindowNode node;
    node.rect = rect;
    PixelRect inside = CaptureGeometry::ClipToDesktop(ClientRectOnScreen(window), rect);
    // GW_CHILD and GW_HWNDNEXT walk the direct children topmost first.
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        PixelRect shown = CaptureGeometry::ClipToDesktop(WindowRectOf(child), inside);
        if (!shown.IsEmpty()) node.children.push_back(NodeOf(child, shown));
    }
    return node;
}

BOOL CALLBACK AddTopLevel(HWND window, LPARAM list) {
    // Hidden windows, the caller's own among them, do not count; nor do minimised ones, parked
    // far off the screen.
    if (::IsWindowVisible(window) && !::IsIconic(window) && !IsCloaked(window))
        reinterpret_cast<std::vector<WindowNode>*>(list)->push_back(NodeOf(window, WindowRectOf(window)));
    return TRUE;
}

}  // namespace

std::vector<WindowNode> SnapshotWindows() {
    std::vector<WindowNode> topLevel;
    ::EnumWindows(AddTopLevel, reinterpret_cast<LPARAM>(&topLevel));  // topmost first
    return topLevel;
}
