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

namespace {

// Shifts `box` back onto `screen`; a box larger than the screen keeps its left/top edge on it.
PixelRect KeepOnScreen(PixelRect box, const PixelRect& screen) {
    int dx = 0, dy = 0;
    if (box.right > screen.right) dx = screen.right - box.right;
    if (box.left + dx < screen.left) dx = screen.left - box.left;
    if (box.bottom > screen.bottom) dy = screen.bottom - box.bottom;
    if (box.top + dy < screen.top) dy = screen.top - box.top;
    return {box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
}

}  // namespace

PixelRect PlaceLabel(const PixelRect& target, int width, int height, const PixelRect& screen) {
    PixelRect above{target.left, target.top - height, target.left + width, target.top};
    if (above.top >= screen.top) return KeepOnScreen(above, screen);
    PixelRect below{target.left, target.bottom, target.left + width, target.bottom + height};
    if (below.bottom <= screen.bottom) return KeepOnScreen(below, screen);
    return KeepOnScreen({target.left, target.top, target.left + width, target.top + height}, screen);
}

PixelRect PlaceNearPointer(PixelPoint pointer, int width, int height, int gap, const PixelRect& screen) {
    int left = pointer.x + 1 + gap;
    if (left + width > screen.right) left = pointer.x - gap - width;
    int top = pointer.y + 1 + gap;
    if (top + height > screen.bottom) top = pointer.y - gap - height;
    return KeepOnScreen({left, top, left + width, top + height}, screen);
}

MagnifierView MagnifierFor(PixelPoint pointer, int radius, int zoom, const PixelRect& box,
                           const PixelRect& screen) {
    PixelRect around{pointer.x - radius, pointer.y - radius, pointer.x + radius + 1, pointer.y + radius + 1};
    PixelRect source = ClipToDesktop(around, screen);
    if (source.IsEmpty()) return {{}, {box.left, box.top, box.left, box.top}};
    int left = box.left + (source.left - around.left) * zoom;
    int top = box.top + (source.top - around.top) * zoom;
    return {source, {left, top, left + source.Width() * zoom, top + source.Height() * zoom}};
}

PixelPoint NudgePointer(PixelPoint pointer, int dx, int dy, const PixelRect& screen) {
    return {std::clamp(pointer.x + dx, screen.left, screen.right - 1),
            std::clamp(pointer.y + dy, screen.top, screen.bottom - 1)};
}

void RectangleChoice::Press(PixelPoint at) {
    mode_ = Mode::MouseDrag;
    corner_ = at;
}

std::optional<PixelRect> RectangleChoice::Release(PixelPoint at) {
    if (mode_ != Mode::MouseDrag) return std::nullopt;
    mode_ = Mode::Waiting;
    if (at == corner_) return std::nullopt;  // a click, not a drag: keep waiting
    return Selection(at);
}

std::optional<PixelRect> RectangleChoice::Enter(PixelPoint at) {
    if (mode_ == Mode::Waiting) {
        mode_ = Mode::KeyboardCorner;
        corner_ = at;
        return std::nullopt;
    }
    mode_ = Mode::Waiting;
    return Selection(at);
}

PixelRect RectangleChoice::Selection(PixelPoint pointer) const {
    return RectFromDragPoints(corner_.x, corner_.y, pointer.x, pointer.y);
}

}  // namespace CaptureGeometry
