#pragma once
// Where the monitors sit on the virtual desktop (platform-free). Monitors may lie left of or above
// the primary one (negative coordinates) and need not touch: the desktop is the smallest rectangle
// holding them all, and its parts outside every monitor belong to no screen.
#include <vector>

#include "capture/capture_geometry.h"

namespace MonitorLayout {

// The union of the monitors' rectangles; no area when there are none.
PixelRect VirtualDesktop(const std::vector<PixelRect>& monitors);

// The monitor showing `point`; off every monitor (in a gap, or beyond the edge) the nearest one, as
// the pointer can be parked there only for a moment. The first monitor wins a tie; null when there
// are no monitors.
const PixelRect* MonitorAt(const std::vector<PixelRect>& monitors, PixelPoint point);

// What to copy to picture `area`: each monitor's part inside `area` as a source rectangle on the
// desktop, with where it lands in a picture whose top-left pixel is `area`'s. Monitors outside
// `area` give nothing; the rest of the picture is no monitor's and stays blank.
struct Part {
    PixelRect source;  // desktop coordinates
    PixelPoint target;  // picture coordinates of source's top-left pixel
};
std::vector<Part> PartsIn(const std::vector<PixelRect>& monitors, const PixelRect& area);

}  // namespace MonitorLayout
