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

}  // namespace
