#pragma once
// Rectangle arithmetic of the capture agents (platform-free).
#include <optional>
#include <vector>

struct PixelPoint {
    int x = 0, y = 0;
    bool operator==(const PixelPoint&) const = default;
};

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

// ---- Feedback drawn over the frozen screen --------------------------------------------------

// Where the size label of a highlighted rectangle goes: just above its top-left corner; below its
// bottom-left corner when there is no room above; inside its top-left corner when there is room on
// neither side. Whatever the case, the label stays wholly on `screen` (as far as it fits at all).
PixelRect PlaceLabel(const PixelRect& target, int width, int height, const PixelRect& screen);

// Where a box that follows the pointer goes (the magnifier with its readout): `gap` pixels below
// and to the right of the pointer, flipped to the left and/or above it when it would leave the
// screen there, so the pointer is never covered; then kept on screen.
PixelRect PlaceNearPointer(PixelPoint pointer, int width, int height, int gap, const PixelRect& screen);

// What the magnifier shows: the square of source pixels around the pointer (`radius` pixels each
// side), clipped to the screen, and where that part lands in the magnifier `box` when every source
// pixel becomes `zoom` x `zoom`. Near an edge only part of the box is covered; the rest stays
// background, so the pointer's pixel is always in the middle of the box.
struct MagnifierView {
    PixelRect source;  // screen pixels, clipped
    PixelRect target;  // inside `box`
};
MagnifierView MagnifierFor(PixelPoint pointer, int radius, int zoom, const PixelRect& box,
                           const PixelRect& screen);

// The pointer moved by (dx, dy) but kept on a pixel of the screen (arrow keys nudge it).
PixelPoint NudgePointer(PixelPoint pointer, int dx, int dy, const PixelRect& screen);

// ---- Choosing a rectangle ---------------------------------------------------------------------

// How the rectangle agent turns mouse and keyboard input into a rectangle.
//
// Mouse: press the left button at one corner, drag, release at the other corner; both corner pixels
// are inside. A click that does not leave the pressed pixel chooses nothing: the agent keeps
// waiting, because a stray click (or the second half of a double-click) should not end the capture
// with a one-pixel picture nobody wanted.
// Keyboard: Enter fixes the first corner at the pointer, the arrow keys move the pointer, and Enter
// again takes the rectangle; here two Enters on one pixel do give a 1 x 1 picture, since nobody
// presses Enter twice by accident. Enter during a mouse drag takes the rectangle at once.
class RectangleChoice {
public:
    void Press(PixelPoint at);
    // The chosen rectangle, or nothing (a click without a drag, or a release with no press before).
    std::optional<PixelRect> Release(PixelPoint at);
    std::optional<PixelRect> Enter(PixelPoint at);
    // Whether a first corner is fixed (by the mouse or the keyboard), and if so the rectangle it
    // spans with the pointer now.
    bool HasCorner() const { return mode_ != Mode::Waiting; }
    bool IsMouseDrag() const { return mode_ == Mode::MouseDrag; }
    PixelRect Selection(PixelPoint pointer) const;

private:
    enum class Mode { Waiting, MouseDrag, KeyboardCorner };
    Mode mode_ = Mode::Waiting;
    PixelPoint corner_;
};

}  // namespace CaptureGeometry
