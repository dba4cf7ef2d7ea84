#pragma once
// Rectangle arithmetic of the capture agents (platform-free).
#include <vector>

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const PixelRect&) const = default;
};

namespace CaptureGeometry {

// The part of `window` inside `desktop`: larger lefts and tops, smaller rights and bottoms. A window
// wholly outside gives a rectangle with no area (IsEmpty), which must not become a picture.
PixelRect ClipToDesktop(const PixelRect& window, const PixelRect& desktop);

// The rectangle a drag from `press` to `release` marks, both end pixels included, whichever way
// the drag went: (10,10) to (109,59) gives 100 x 50.
PixelRect RectFromDragPoints(int pressX, int pressY, int releaseX, int releaseY);

// A window as it stood when the screen was frozen: its rectangle on screen, whether it was visible,
// and its child windows in z-order (topmost first).
struct WindowNode {
    PixelRect rect;
    bool visible = true;
    std::vector<WindowNode> children;
    int tag = 0;  // whatever identifies the window to the caller
};

// The deepest visible window containing (x, y): among siblings the topmost that contains the point
// wins, then its own children are searched. Null when no top-level window contains the point.
const WindowNode* DeepestWindowAt(const std::vector<WindowNode>& topLevel, int x, int y);

}  // namespace CaptureGeometry
