#include "editor/zoom_steps.h"

#include <cstdint>

namespace ZoomSteps {

Step Up(int zoom) {
    if (zoom >= kActual) {
        int next = zoom + 100;
        if (next > kMaximum) return {zoom, Action::kNothing};
        return {next, Action::kStretch};
    }
    int next = zoom + 10;
    if (next == kActual) return {next, Action::kLandOnActual};
    return {next, Action::kRebuildReduced};
}

Step Down(int zoom) {
    if (zoom > kActual) {
        int next = zoom - 100;
        if (next == kActual) return {next, Action::kLandOnActual};
        return {next, Action::kStretch};
    }
    if (zoom <= kMinimum) return {zoom, Action::kRecordOnly};
    return {zoom - 10, Action::kRebuildReduced};
}

bool IsLevel(int zoom) {
    if (zoom >= kMinimum && zoom < kActual) return zoom % 10 == 0;
    return zoom >= kActual && zoom <= kMaximum && zoom % 100 == 0;
}

int Scale(int length, int zoom) {
    return static_cast<int>(static_cast<int64_t>(length) * zoom / 100);
}

}  // namespace ZoomSteps
