#include "capture/capture_geometry.h"

#include <gtest/gtest.h>

namespace {

using namespace CaptureGeometry;

const PixelRect kDesktop{0, 0, 1024, 768};

TEST(CaptureGeometry, ClipKeepsOnlyThePartOnTheDesktop) {
    // A maximised window reaches past every edge by its border width.
    EXPECT_EQ(ClipToDesktop({-4, -4, 1028, 772}, kDesktop), kDesktop);
    EXPECT_EQ(ClipToDesktop({900, 700, 1200, 900}, kDesktop), (PixelRect{900, 700, 1024, 768}));
    EXPECT_EQ(ClipToDesktop({10, 20, 110, 220}, kDesktop), (PixelRect{10, 20, 110, 220}));
}

TEST(CaptureGeometry, WindowWhollyOutsideGivesNoArea) {
    EXPECT_TRUE(ClipToDesktop({1100, 10, 1300, 200}, kDesktop).IsEmpty());
    EXPECT_TRUE(ClipToDesktop({-500, -400, -10, -5}, kDesktop).IsEmpty());
    EXPECT_TRUE(ClipToDesktop({1024, 0, 1100, 100}, kDesktop).IsEmpty());  // touching the edge only
}

TEST(CaptureGeometry, DragPointsIncludeBothEndsInEveryDirection) {
    PixelRect r = RectFromDragPoints(10, 10, 109, 59);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_EQ(RectFromDragPoints(109, 59, 10, 10), r);
    EXPECT_EQ(RectFromDragPoints(109, 10, 10, 59), r);
    PixelRect click = RectFromDragPoints(5, 7, 5, 7);
    EXPECT_EQ(click, (PixelRect{5, 7, 6, 8}));
}

TEST(CaptureGeometry, DeepestVisibleWindowUnderThePoint) {
    WindowNode button{{120, 120, 180, 140}, true, {}, 3};
    WindowNode hiddenPanel{{100, 100, 300, 300}, false, {}, 9};
    WindowNode panel{{100, 100, 300, 300}, true, {button}, 2};
    WindowNode back{{0, 0, 500, 500}, true, {}, 5};
    WindowNode front{{50, 50, 400, 400}, true, {hiddenPanel, panel}, 1};
    std::vector<WindowNode> top = {front, back};  // z-order: front first

    EXPECT_EQ(DeepestWindowAt(top, 130, 130)->tag, 3);  // inside the button
    EXPECT_EQ(DeepestWindowAt(top, 250, 250)->tag, 2);  // the visible panel, not the hidden one
    EXPECT_EQ(DeepestWindowAt(top, 60, 60)->tag, 1);    // the frame itself
    EXPECT_EQ(DeepestWindowAt(top, 450, 450)->tag, 5);  // only the back window is there
    EXPECT_EQ(DeepestWindowAt(top, 600, 600), nullptr);
    // Right and bottom edges are outside.
    EXPECT_EQ(DeepestWindowAt(top, 180, 130)->tag, 2);
}

TEST(CaptureGeometry, SizeLabelSitsAboveThenBelowThenInsideAndStaysOnScreen) {
    // Room above: just above the top-left corner.
    EXPECT_EQ(PlaceLabel({200, 150, 400, 300}, 80, 20, kDesktop), (PixelRect{200, 130, 280, 150}));
    // A window at the top edge: below it.
    EXPECT_EQ(PlaceLabel({200, 0, 400, 300}, 80, 20, kDesktop), (PixelRect{200, 300, 280, 320}));
    // The whole screen: no room on either side, so inside its corner.
    EXPECT_EQ(PlaceLabel(kDesktop, 80, 20, kDesktop), (PixelRect{0, 0, 80, 20}));
    // Near the right edge the label moves left rather than leave the screen.
    EXPECT_EQ(PlaceLabel({1000, 300, 1024, 320}, 80, 20, kDesktop), (PixelRect{944, 280, 1024, 300}));
}

TEST(CaptureGeometry, BoxBesideThePointerFlipsAtEdgesAndNeverCoversIt) {
    const int size = 120, gap = 16;
    PixelRect middle = PlaceNearPointer({500, 400}, size, size, gap, kDesktop);
    EXPECT_EQ(middle, (PixelRect{517, 417, 637, 537}));
    // Bottom-right corner: flipped to the upper left of the pointer.
    PixelRect corner = PlaceNearPointer({1023, 767}, size, size, gap, kDesktop);
    EXPECT_EQ(corner, (PixelRect{1023 - gap - size, 767 - gap - size, 1023 - gap, 767 - gap}));
    // Right edge only: left of the pointer, still below it.
    EXPECT_EQ(PlaceNearPointer({1010, 10}, size, size, gap, kDesktop).top, 27);
    EXPECT_EQ(PlaceNearPointer({1010, 10}, size, size, gap, kDesktop).right, 1010 - gap);
    for (PixelPoint p : {PixelPoint{0, 0}, PixelPoint{1023, 0}, PixelPoint{0, 767}, PixelPoint{1023, 767},
                         PixelPoint{512, 384}, PixelPoint{1023 - 60, 767 - 60}}) {
        PixelRect box = PlaceNearPointer(p, size, size, gap, kDesktop);
        EXPECT_EQ(ClipToDesktop(box, kDesktop), box) << p.x << "," << p.y;
        EXPECT_FALSE(box.Contains(p.x, p.y)) << p.x << "," << p.y;
    }
}

TEST(CaptureGeometry, MagnifierKeepsThePointerPixelInTheMiddleEvenAtTheEdges) {
    const PixelRect box{100, 100, 220, 220};  // 15 x 15 pixels at 8 x
    MagnifierView inside = MagnifierFor({500, 400}, 7, 8, box, kDesktop);
    EXPECT_EQ(inside.source, (PixelRect{493, 393, 508, 408}));
    EXPECT_EQ(inside.target, box);
    // Top-left corner: only the lower-right 8 x 8 source pixels exist.
    MagnifierView corner = MagnifierFor({0, 0}, 7, 8, box, kDesktop);
    EXPECT_EQ(corner.source, (PixelRect{0, 0, 8, 8}));
    EXPECT_EQ(corner.target, (PixelRect{156, 156, 220, 220}));
    // Bottom-right corner: the upper-left part.
    MagnifierView far = MagnifierFor({1023, 767}, 7, 8, box, kDesktop);
    EXPECT_EQ(far.source, (PixelRect{1016, 760, 1024, 768}));
    EXPECT_EQ(far.target, (PixelRect{100, 100, 164, 164}));
    // A pointer off the screen shows nothing rather than stray memory.
    MagnifierView off = MagnifierFor({-50, -50}, 7, 8, box, kDesktop);
    EXPECT_TRUE(off.source.IsEmpty());
    EXPECT_TRUE(off.target.IsEmpty());
}

TEST(CaptureGeometry, ArrowKeysNudgeThePointerButNotOffTheScreen) {
    EXPECT_EQ(NudgePointer({10, 10}, 1, 0, kDesktop), (PixelPoint{11, 10}));
    EXPECT_EQ(NudgePointer({10, 10}, 0, -1, kDesktop), (PixelPoint{10, 9}));
    EXPECT_EQ(NudgePointer({0, 0}, -1, -1, kDesktop), (PixelPoint{0, 0}));
    EXPECT_EQ(NudgePointer({1023, 767}, 1, 1, kDesktop), (PixelPoint{1023, 767}));
    EXPECT_EQ(NudgePointer({1020, 5}, 10, -10, kDesktop), (PixelPoint{1023, 0}));
}

TEST(CaptureGeometry, MouseDragChoosesTheRectangleAndAClickKeepsWaiting) {
    RectangleChoice choice;
    EXPECT_FALSE(choice.Release({40, 40}).has_value());  // a release with no press before it
    choice.Press({10, 10});
    EXPECT_TRUE(choice.IsMouseDrag());
    EXPECT_EQ(choice.Selection({50, 30}), (PixelRect{10, 10, 51, 31}));
    std::optional<PixelRect> dragged = choice.Release({109, 59});
    ASSERT_TRUE(dragged.has_value());
    EXPECT_EQ(*dragged, (PixelRect{10, 10, 110, 60}));

    // A click without movement chooses nothing and leaves no corner behind.
    RectangleChoice click;
    click.Press({300, 300});
    EXPECT_FALSE(click.Release({300, 300}).has_value());
    EXPECT_FALSE(click.HasCorner());
    // A drag back to the other side of the press point still counts.
    click.Press({300, 300});
    EXPECT_EQ(click.Release({299, 300}), (PixelRect{299, 300, 301, 301}));
}

TEST(CaptureGeometry, KeyboardChoosesTheRectangleWithTwoEnters) {
    RectangleChoice keys;
    EXPECT_FALSE(keys.Enter({20, 20}).has_value());  // first corner
    EXPECT_TRUE(keys.HasCorner());
    EXPECT_FALSE(keys.IsMouseDrag());
    EXPECT_EQ(keys.Enter({23, 22}), (PixelRect{20, 20, 24, 23}));
    EXPECT_FALSE(keys.HasCorner());
    // Two Enters on one pixel are deliberate: one pixel.
    keys.Enter({5, 5});
    EXPECT_EQ(keys.Enter({5, 5}), (PixelRect{5, 5, 6, 6}));
    // Enter during a mouse drag takes the rectangle at once; the release that follows is ignored.
    keys.Press({100, 100});
    EXPECT_EQ(keys.Enter({90, 120}), (PixelRect{90, 100, 101, 121}));
    EXPECT_FALSE(keys.Release({90, 120}).has_value());
    // A mouse press after a keyboard corner starts a fresh drag from the pressed pixel.
    keys.Enter({0, 0});
    keys.Press({50, 50});
    EXPECT_EQ(keys.Release({59, 54}), (PixelRect{50, 50, 60, 55}));
}

}  // namespace
