// The sizing bar's arithmetic: its edges and client area, the row negotiation, edge dragging and
// the corner sizing of a floating bar.
#include <gtest/gtest.h>

#include "chrome/edge_drag.h"
#include "chrome/row_negotiation.h"
#include "chrome/sizing_bar_geometry.h"

namespace {

using namespace sizing;

RowBar Sizing(int length, int thickness = 200, int minLength = 33, int minThickness = 32) {
    return {true, length, thickness, minLength, minThickness, false};
}
RowBar Fixed(int length) { return {false, length, 26, 0, 0, false}; }

TEST(SizingBarEdges, AloneInItsRowOnlyTheEdgeFacingTheCentreIsActive) {
    geo::Rect window{0, 0, 400, 200};
    unsigned flags = RowEdges(dock::kBottom, true, true);
    EXPECT_EQ(flags, 0u);
    ClientArea area = ComputeClientArea(window, dock::kBottom, flags);
    EXPECT_EQ(area.flags, kEdgeTop);
    EXPECT_EQ(area.client, (geo::Rect{5, 5, 395, 195}));  // 3+2, 5+0, 3+2, 3+2

    // Neighbours in the row add the leading and trailing edges.
    EXPECT_EQ(RowEdges(dock::kBottom, false, false), kEdgeLeft | kEdgeRight);
    EXPECT_EQ(RowEdges(dock::kLeft, false, true), kEdgeTop);
    EXPECT_EQ(RowEdges(dock::kRight, true, false), kEdgeBottom);
    EXPECT_EQ(ComputeClientArea(window, dock::kTop, 0).flags, kEdgeBottom);
    EXPECT_EQ(ComputeClientArea(window, dock::kLeft, 0).flags, kEdgeRight);
    EXPECT_EQ(ComputeClientArea(window, dock::kRight, 0).flags, kEdgeLeft);

    // Floating: the smaller insets, no edge; reserved edges shrink the client further.
    area = ComputeClientArea(window, dock::kFloating, 0);
    EXPECT_EQ(area.client, (geo::Rect{3, 5, 397, 197}));
    EXPECT_EQ(area.flags, 0u);
    area = ComputeClientArea(window, dock::kBottom, kShowEdges | kEdgeLeft);
    EXPECT_EQ(area.client, (geo::Rect{10, 10, 395, 195}));
}

TEST(SizingBarEdges, EdgeRectanglesAndHitTests) {
    geo::Rect window{100, 500, 500, 700};  // docked at the bottom, with a neighbour to its right
    unsigned flags = kEdgeTop | kEdgeRight;
    EXPECT_EQ(EdgeRect(window, kHitTop, flags, dock::kBottom), (geo::Rect{100, 500, 500, 505}));
    // Left and right edges of a horizontal bar are shortened at both ends.
    EXPECT_EQ(EdgeRect(window, kHitRight, flags, dock::kBottom), (geo::Rect{495, 505, 500, 695}));
    EXPECT_TRUE(EdgeRect(window, kHitLeft, flags, dock::kBottom).IsEmpty());
    EXPECT_TRUE(EdgeRect(window, kHitBottom, flags, dock::kBottom).IsEmpty());
    // Vertical bars shorten their top and bottom edges instead; drawn edges lose a pixel.
    EXPECT_EQ(EdgeRect(window, kHitBottom, kEdgeBottom, dock::kLeft), (geo::Rect{105, 695, 495, 700}));
    EXPECT_EQ(EdgeRect(window, kHitTop, kEdgeTop | kShowEdges, dock::kLeft), (geo::Rect{106, 501, 494, 506}));

    EXPECT_EQ(HitTestEdges(window, {300, 502}, flags, dock::kBottom), kHitTop);
    EXPECT_EQ(HitTestEdges(window, {498, 502}, flags, dock::kBottom), kHitTop);  // top before right
    EXPECT_EQ(HitTestEdges(window, {498, 600}, flags, dock::kBottom), kHitRight);
    EXPECT_EQ(HitTestEdges(window, {102, 600}, flags, dock::kBottom), kHitClient);
    EXPECT_EQ(HitTestEdges(window, {300, 502}, flags, dock::kFloating), kHitClient);
}

TEST(CoolBar, GripperAndCloseButtonOnlyWhileDocked) {
    geo::Rect client{5, 5, 395, 195};
    GripArea h = CoolBarClientArea(client, dock::kBottom);
    EXPECT_TRUE(h.hasGrip);
    EXPECT_EQ(h.client, (geo::Rect{17, 5, 395, 195}));
    EXPECT_EQ(h.button, (geo::Point{3, 5}));
    Gripper g = GripperBars(h.client, dock::kBottom, h.button);
    EXPECT_EQ(g.first, (geo::Rect{6, 21, 9, 194}));
    EXPECT_EQ(g.second, (geo::Rect{9, 21, 12, 194}));

    GripArea v = CoolBarClientArea(client, dock::kLeft);
    EXPECT_EQ(v.client, (geo::Rect{5, 17, 395, 195}));
    EXPECT_EQ(v.button, (geo::Point{383, 3}));
    g = GripperBars(v.client, dock::kLeft, v.button);
    EXPECT_EQ(g.first, (geo::Rect{6, 6, 380, 9}));
    EXPECT_EQ(g.second, (geo::Rect{6, 9, 380, 12}));

    GripArea f = CoolBarClientArea(client, dock::kFloating);
    EXPECT_FALSE(f.hasGrip);
    EXPECT_EQ(f.client, client);

    EXPECT_TRUE(OnCloseButton({3, 5}, h.button));
    EXPECT_TRUE(OnCloseButton({15, 17}, h.button));
    EXPECT_FALSE(OnCloseButton({16, 10}, h.button));
}

TEST(RowNegotiation, SingleBarTakesTheWholeRow) {
    std::vector<RowBar> row = {Sizing(200)};
    row[0].holdLength = true;
    Negotiation n = NegotiateRow(row, 0, 602);  // a 600-pixel dock bar, +2
    EXPECT_TRUE(n.succeeded);
    EXPECT_EQ(row[0].length, 604);  // from -2 to 602: the borders hang outside
    EXPECT_FALSE(row[0].holdLength);
    EXPECT_EQ(PackRow({604}), (std::vector<int>{-2}));
}

TEST(RowNegotiation, DifferenceIsHandedOutPixelByPixelSkippingHeldAndMinimalBars) {
    // Three sizing bars and a toolbar share 500 pixels.
    std::vector<RowBar> row = {Sizing(100, 150), Fixed(80), Sizing(100, 180), Sizing(34, 120)};
    Negotiation n = NegotiateRow(row, 0, 500);
    ASSERT_TRUE(n.succeeded);
    // Available 500 - 78 = 422; used 98 + 98 + 32 = 228; 194 to hand out over three bars.
    EXPECT_EQ(row[0].length, 100 + 65);
    EXPECT_EQ(row[2].length, 100 + 65);
    EXPECT_EQ(row[3].length, 34 + 64);
    for (int i : {0, 2, 3}) EXPECT_EQ(row[i].thickness, 180);  // the row's thickness
    EXPECT_EQ(row[1].length, 80);
    int span = 0;  // packed from -2, the row then ends exactly at the available length
    for (const RowBar& b : row) span += b.length - 2;
    EXPECT_EQ(span, 500);

    // Shrinking: a bar at its minimum gives nothing; a held bar keeps its length, once.
    row = {Sizing(300), Sizing(33), Sizing(200)};
    row[2].holdLength = true;
    n = NegotiateRow(row, 0, 402);
    ASSERT_TRUE(n.succeeded);
    EXPECT_EQ(row[0].length, 300 - 125);
    EXPECT_EQ(row[1].length, 33);
    EXPECT_EQ(row[2].length, 200);
    EXPECT_FALSE(row[2].holdLength);
}

TEST(RowNegotiation, HeldBarsThatLeaveNothingToChangeEndTheHandOut) {
    std::vector<RowBar> row = {Sizing(100), Sizing(100)};
    row[0].holdLength = row[1].holdLength = true;
    Negotiation n = NegotiateRow(row, 1, 400);
    EXPECT_TRUE(n.succeeded);  // nothing could change; the passes stop
    EXPECT_EQ(row[0].length, 100);
    EXPECT_EQ(row[1].length, 100);
    EXPECT_FALSE(row[0].holdLength);
}

TEST(RowNegotiation, RowTooLongWraps) {
    // The bars before this one do not fit even at their minimum: a break after the one that
    // overflows, and this bar's negotiation fails (it moves to the next row).
    std::vector<RowBar> row = {Fixed(300), Fixed(300), Sizing(100)};
    Negotiation n = NegotiateRow(row, 2, 400);
    EXPECT_FALSE(n.succeeded);
    EXPECT_EQ(n.breakAfter, 1);

    // This bar is the one that does not fit: it shrinks to its minimum.
    row = {Fixed(350), Sizing(100), Sizing(100)};
    n = NegotiateRow(row, 1, 380);
    EXPECT_TRUE(n.succeeded);
    EXPECT_EQ(row[1].length, 33);
    EXPECT_EQ(n.breakBefore, -1);

    // A later bar does not fit: it starts a new row and the rest is shared without it.
    row = {Sizing(100), Sizing(100), Fixed(300)};
    n = NegotiateRow(row, 0, 200);
    EXPECT_TRUE(n.succeeded);
    EXPECT_EQ(n.breakBefore, 2);
    ASSERT_EQ(row.size(), 2u);
    EXPECT_EQ(row[0].length - 2 + row[1].length - 2, 200);
}

TEST(RowNegotiation, PackedBarsOverlapByTwo) {
    EXPECT_EQ(PackRow({100, 50, 80}), (std::vector<int>{-2, 96, 144}));
}

TEST(EdgeDrag, SplitterLimitsAreTheNeighboursSpareLength) {
    std::vector<RowBar> row = {Sizing(150), Sizing(100), Sizing(60)};
    EXPECT_TRUE(DragsAlongRow(kHitRight, true));
    EXPECT_FALSE(DragsAlongRow(kHitTop, true));
    EXPECT_TRUE(DragsAlongRow(kHitBottom, false));
    // The right edge of the middle bar: bars 0 and 1 lie before the splitter.
    DragLimits l = AlongRowLimits(row, 1, kHitRight, 400);
    EXPECT_EQ(l.min, 400 - 117 - 67);
    EXPECT_EQ(l.max, 400 + 27);
    // Its left edge: only bar 0 lies before the splitter.
    l = AlongRowLimits(row, 1, kHitLeft, 250);
    EXPECT_EQ(l.min, 250 - 117);
    EXPECT_EQ(l.max, 250 + 67 + 27);
}

TEST(EdgeDrag, MovingTheSplitterGrowsOneSideAndTakesFromTheNearestOnTheOther) {
    std::vector<RowBar> row = {Sizing(150), Sizing(100), Sizing(60)};
    MoveSplitter(row, 1, kHitRight, 40);  // right edge of bar 1, moved right
    EXPECT_EQ(row[1].length, 140);
    EXPECT_EQ(row[2].length, 33);  // gave 27, all it had
    EXPECT_EQ(row[0].length, 150);
    EXPECT_EQ(row[1].length + row[2].length, 173);  // 13 too many: the limits forbid that move

    row = {Sizing(150), Sizing(100), Sizing(60)};
    MoveSplitter(row, 1, kHitRight, -80);  // moved left: bar 2 grows, bar 1 then bar 0 give
    EXPECT_EQ(row[2].length, 140);
    EXPECT_EQ(row[1].length, 33);
    EXPECT_EQ(row[0].length, 137);

    row = {Sizing(150), Sizing(100), Sizing(60)};
    MoveSplitter(row, 1, kHitLeft, 30);  // left edge moved right: bar 0 grows, bar 1 gives
    EXPECT_EQ(row[0].length, 180);
    EXPECT_EQ(row[1].length, 70);
    EXPECT_EQ(row[2].length, 60);
    MoveSplitter(row, 1, kHitLeft, -10);  // and back: bar 1 grows, bar 0 gives
    EXPECT_EQ(row[0].length, 170);
    EXPECT_EQ(row[1].length, 80);
}

TEST(EdgeDrag, ThicknessLimitsAndChange) {
    // The history pane at the bottom, 200 high, its top edge dragged; the free client area is
    // 300 high. It may grow by 298 and shrink to the row's largest minimum.
    std::vector<RowBar> row = {Sizing(600, 200, 33, 32), Sizing(300, 200, 33, 50)};
    DragLimits l = AcrossRowLimits(row, 0, kHitTop, 500, 300);
    EXPECT_EQ(l.min, 500 - 298);
    EXPECT_EQ(l.max, 500 + 150);
    l = AcrossRowLimits(row, 0, kHitBottom, 500, 300);
    EXPECT_EQ(l.min, 500 - 150);
    EXPECT_EQ(l.max, 500 + 298);

    ChangeRowThickness(row, 0, kHitTop, -60);  // top edge up by 60: thicker
    EXPECT_EQ(row[0].thickness, 260);
    EXPECT_EQ(row[1].thickness, 260);
    ChangeRowThickness(row, 1, kHitRight, -10);
    EXPECT_EQ(row[0].thickness, 250);
}

TEST(EdgeDrag, TrackerFollowsThePositionLessTheGrabOffset) {
    geo::Rect edge{100, 500, 500, 505};
    // Dragging the top edge across the row: the line spans the dock bar less a pixel each end.
    geo::Rect t = TrackerRect(edge, false, true, {-2, 495, 602, 700}, 450, 1);
    EXPECT_EQ(t, (geo::Rect{-1, 447, 601, 452}));
    // Along the row the edge keeps its length.
    t = TrackerRect({495, 505, 500, 695}, true, false, {}, 520, -1);
    EXPECT_EQ(t, (geo::Rect{519, 505, 524, 695}));
}

TEST(FloatingSize, CornersFollowTheCursorAndRespectTheMinimum) {
    geo::Rect frame{100, 100, 310, 330};  // mini frame
    geo::Rect bar{104, 120, 304, 320};    // 200 x 200
    geo::Size min{37, 32};
    CornerSizing c = SizeByCorner(kHitBottomRight, {350, 400}, frame, bar, {200, 200}, min);
    EXPECT_EQ(c.floatingSize, (geo::Size{240, 270}));
    EXPECT_FALSE(c.movesLeft);
    EXPECT_FALSE(c.movesTop);

    c = SizeByCorner(kHitTopLeft, {80, 90}, frame, bar, {200, 200}, min);
    EXPECT_EQ(c.floatingSize, (geo::Size{220, 210}));
    EXPECT_TRUE(c.movesLeft);
    EXPECT_EQ(c.left, 80);
    EXPECT_EQ(c.top, 90);

    // Pushed past the minimum: the size stops there and so does the frame's moving side.
    c = SizeByCorner(kHitTopRight, {110, 400}, frame, bar, {200, 200}, min);
    EXPECT_EQ(c.floatingSize, (geo::Size{37, 32}));
    EXPECT_EQ(c.top, 100 + 200 - 32);
    c = SizeByCorner(kHitBottomLeft, {400, 110}, frame, bar, {200, 200}, min);
    EXPECT_EQ(c.left, 100 + 200 - 37);
    EXPECT_EQ(c.floatingSize.cy, 32);
    EXPECT_TRUE(IsCorner(kHitBottomLeft));
    EXPECT_FALSE(IsCorner(kHitBottom));
}

}  // namespace
