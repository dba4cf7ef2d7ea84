#include "capture/capture_geometry.h"

#include <algorithm>

namespace CaptureGeometry {

PixelRect ClipToDesktop(const PixelRect& window, const PixelRect& desktop) {
    return {std::max(window.left, desktop.left), std::max(window.top, desktop.top),
            std::min(window.right, desktop.right), std::min(window.bottom, desktop.bottom)};
}

PixelRect RectFromDragPoints(int pressX, int pressY, int releaseX, int releaseY) {
    return {std::min(pressX, releaseX), std::min(pressY, releaseY), std::max(pressX, releaseX) + 1,
            std::max(pressY, releaseY) + 1};
}

namespace {

const WindowNode* TopmostContaining(const std::vector<WindowNode>& siblings, int x, int y) {
    for (const WindowNode& w : siblings)
        if (w.visible && w.rect.Contains(x, y)) return &w;
    return nullptr;
}

}  // namespace

const WindowNode* DeepestWindowAt(const std::vector<WindowNode>& topLevel, int x, int y) {
    const WindowNode* found = TopmostContaining(topLevel, x, y);
    for (const WindowNode* deeper = found; deeper; deeper = TopmostContaining(deeper->children, x, y))
        found = deeper;
    return found;
}

}  // namespace CaptureGeometry
