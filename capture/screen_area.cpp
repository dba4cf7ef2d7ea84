#include "capture/screen_area.h"

#include "capture/monitor_layout.h"

namespace ScreenArea {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(monitor, &info)) return TRUE;
    const RECT& r = info.rcMonitor;
    auto* monitors = reinterpret_cast<std::vector<PixelRect>*>(list);
    PixelRect rect{r.left, r.top, r.right, r.bottom};
    if (info.dwFlags & MONITORINFOF_PRIMARY) monitors->insert(monitors->begin(), rect);
    else monitors->push_back(rect);
    return TRUE;
}

}  // namespace

PixelRect PrimaryScreen() { return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)}; }

std::vector<PixelRect> Monitors() {
    std::vector<PixelRect> monitors;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) monitors.push_back(PrimaryScreen());
    return monitors;
}

void CopyArea(HDC target, HDC screen, const PixelRect& area, const std::vector<PixelRect>& monitors) {
    ::PatBlt(target, 0, 0, area.Width(), area.Height(), BLACKNESS);
    for (const MonitorLayout::Part& part : MonitorLayout::PartsIn(monitors, area))
        ::BitBlt(target, part.target.x, part.target.y, part.source.Width(), part.source.Height(), screen,
                 part.source.left, part.source.top, SRCCOPY);
}

HBITMAP GrabArea(HDC screen, const PixelRect& area, const std::vector<PixelRect>& monitors) {
    if (area.IsEmpty()) return nullptr;
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP picture = ::CreateCompatibleBitmap(screen, area.Width(), area.Height());
    if (memory && picture) {
        HGDIOBJ old = ::SelectObject(memory, picture);
        CopyArea(memory, screen, area, monitors);
        ::SelectObject(memory, old);
    }
    if (memory) ::DeleteDC(memory);
    return picture;
}

void DrawPointer(HDC target, PixelPoint origin) {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    bool told = ::GetCursorInfo(&cursor) != FALSE;
    if (told && !(cursor.flags & CURSOR_SHOWING)) return;
    POINT at = cursor.ptScreenPos;
    if (!told && !::GetCursorPos(&at)) return;
    HCURSOR shape = told ? cursor.hCursor : nullptr;
    ICONINFO icon{};
    if (!shape || !::GetIconInfo(shape, &icon)) {
        // Some systems (Wine) do not say which pointer is shown, or give one owned by another
        // program that cannot be read from here; the arrow is by far the likeliest then.
        shape = ::LoadCursor(nullptr, IDC_ARROW);
        if (!shape || !::GetIconInfo(shape, &icon)) return;
    }
    // DI_NORMAL applies the pointer's mask (or alpha): only its own pixels cover the picture.
    ::DrawIconEx(target, at.x - origin.x - static_cast<int>(icon.xHotspot),
                 at.y - origin.y - static_cast<int>(icon.yHotspot), shape, 0, 0, 0, nullptr, DI_NORMAL);
    if (icon.hbmMask) ::DeleteObject(icon.hbmMask);
    if (icon.hbmColor) ::DeleteObject(icon.hbmColor);
}

}  // namespace ScreenArea
