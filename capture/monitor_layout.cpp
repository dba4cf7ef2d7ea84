#include "capture/monitor_layout.h"

#include <algorithm>
#include <climits>

namespace MonitorLayout {

PixelRect VirtualDesktop(const std::vector<PixelRect>& monitors) {
    if (monitors.empty()) return {};
    PixelRect all = monitors.front();
    for (const PixelRect& m : monitors) {
        all.left = std::min(all.left, m.left);
        all.top = std::min(all.top, m.top);
        all.right = std::max(all.right, m.right);
        all.bottom = std::max(all.bottom, m.bottom);
    }
    return all;
}

namespace {

// How far `point` is from the nearest pixel of `r`, squared (0 inside).
long long DistanceSquared(const PixelRect& r, PixelPoint point) {
    long long dx = point.x < r.left ? r.left - point.x : point.x >= r.right ? point.x - (r.right - 1) : 0;
    long long dy = point.y < r.top ? r.top - point.y : point.y >= r.bottom ? point.y - (r.bottom - 1) : 0;
    return dx * dx + dy * dy;
}

}  // namespace

const PixelRect* MonitorAt(const std::vector<PixelRect>& monitors, PixelPoint point) {
    const PixelRect* nearest = nullptr;
    long long best = LLONG_MAX;
    for (const PixelRect& m : monitors) {
        if (m.IsEmpty()) continue;
        long long d = DistanceSquared(m, point);
        if (d < best) {
            best = d;
            nearest = &m;
        }
    }
    return nearest;
}

std::vector<Part> PartsIn(const std::vector<PixelRect>& monitors, const PixelRect& area) {
    std::vector<Part> parts;
    for (const PixelRect& m : monitors) {
        PixelRect shown = CaptureGeometry::ClipToDesktop(m, area);
        if (shown.IsEmpty()) continue;
        parts.push_back({shown, {shown.left - area.left, shown.top - area.top}});
    }
    return parts;
}

}  // namespace MonitorLayout
