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

namespace {

// Whether the shape can be drawn from here; its hot spot is then in `icon` (whose bitmaps the
// caller deletes).
bool Readable(HCURSOR shape, ICONINFO& icon) { return shape && ::GetIconInfo(shape, &icon); }

void DeleteBitmaps(const ICONINFO& icon) {
    if (icon.hbmMask) ::DeleteObject(icon.hbmMask);
    if (icon.hbmColor) ::DeleteObject(icon.hbmColor);
}

}  // namespace

Pointer CurrentPointer() {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    bool told = ::GetCursorInfo(&cursor) != FALSE;
    if (told && !(cursor.flags & CURSOR_SHOWING)) return {};
    POINT at = cursor.ptScreenPos;
    if (!told && !::GetCursorPos(&at)) return {};
    HCURSOR shape = told ? cursor.hCursor : nullptr;
    ICONINFO icon{};
    if (Readable(shape, icon)) {
        DeleteBitmaps(icon);
        return {shape, {at.x, at.y}};
    }
    // Some systems (Wine) do not say which pointer is shown, or give one owned by another program
    // that cannot be read from here; the arrow is by far the likeliest then.
    return {::LoadCursor(nullptr, IDC_ARROW), {at.x, at.y}};
}

void DrawPointer(HDC target, PixelPoint origin, const Pointer& pointer) {
    ICONINFO icon{};
    if (!Readable(pointer.shape, icon)) return;
    // DI_NORMAL applies the pointer's mask (or alpha): only its own pixels cover the picture.
    ::DrawIconEx(target, pointer.at.x - origin.x - static_cast<int>(icon.xHotspot),
                 pointer.at.y - origin.y - static_cast<int>(icon.yHotspot), pointer.shape, 0, 0, 0, nullptr,
                 DI_NORMAL);
    DeleteBitmaps(icon);
}

}  // namespace ScreenArea
