// The Select tool's drag rules, the outline's handles and hit test, and its dash pattern.
#include <gtest/gtest.h>

#include <vector>

#include "editor/dash_pattern.h"
#include "editor/outline_geometry.h"
#include "editor/selection_rules.h"

using OutlineGeometry::Rect;
using SelectionRules::Point;
using SelectionRules::Selection;

namespace {

Selection Dragged(Selection s, int kind, Point p, Point anchor = {0, 0}) {
    SelectionRules::Drag(s, kind, p, anchor);
    return s;
}

}  // namespace

TEST(EditorSelection, AClickMakesAOnePixelSelection) {
    Point anchor;
    Selection s = SelectionRules::StartAt({12, -3}, anchor);
    EXPECT_EQ(s, (Selection{12, -3, 12, -3}));
    EXPECT_EQ(s.Width(), 1);
    EXPECT_EQ(s.Height(), 1);
    EXPECT_EQ(anchor, (Point{12, -3}));
}

TEST(EditorSelection, EachHandleMovesItsOwnEdges) {
    const Selection s{10, 20, 50, 60};
    EXPECT_EQ(Dragged(s, 1, {5, 15}), (Selection{5, 15, 50, 60}));
    EXPECT_EQ(Dragged(s, 2, {5, 15}), (Selection{10, 15, 50, 60}));
    EXPECT_EQ(Dragged(s, 3, {70, 15}), (Selection{10, 15, 70, 60}));
    EXPECT_EQ(Dragged(s, 4, {5, 99}), (Selection{5, 20, 50, 60}));
    EXPECT_EQ(Dragged(s, 5, {70, 99}), (Selection{10, 20, 70, 60}));
    EXPECT_EQ(Dragged(s, 6, {5, 80}), (Selection{5, 20, 50, 80}));
    EXPECT_EQ(Dragged(s, 7, {99, 80}), (Selection{10, 20, 50, 80}));
    EXPECT_EQ(Dragged(s, 8, {70, 80}), (Selection{10, 20, 70, 80}));
}

TEST(EditorSelection, AHandleDraggedPastTheOppositeEdgeStopsThere) {
    const Selection s{10, 20, 50, 60};
    // The bottom-right handle dragged up and left past the top-left corner: 1 x 1 at that corner.
    Selection shrunk = Dragged(s, 8, {0, 0});
    EXPECT_EQ(shrunk, (Selection{10, 20, 10, 20}));
    EXPECT_EQ(Dragged(s, 1, {90, 90}), (Selection{50, 60, 50, 60}));
    EXPECT_EQ(Dragged(s, 2, {30, 61}), (Selection{10, 60, 50, 60}));
    EXPECT_EQ(Dragged(s, 5, {9, 30}), (Selection{10, 20, 10, 60}));
}

TEST(EditorSelection, MovingFollowsThePointerByWholePixels) {
    Selection s{10, 20, 50, 60};
    Point anchor{30, 30};
    SelectionRules::Drag(s, 9, {33, 28}, anchor);
    EXPECT_EQ(s, (Selection{13, 18, 53, 58}));
    EXPECT_EQ(anchor, (Point{33, 28}));
    SelectionRules::Drag(s, 9, {-100, 28}, anchor);  // wholly outside the image is allowed
    EXPECT_EQ(s, (Selection{-120, 18, -80, 58}));
    EXPECT_EQ(s.Width(), 41);
}

TEST(EditorSelection, ANewRectangleSpansFromItsAnchorInAnyDirection) {
    Point anchor;
    Selection s = SelectionRules::StartAt({40, 40}, anchor);
    SelectionRules::Drag(s, 10, {10, 70}, anchor);
    EXPECT_EQ(s, (Selection{10, 40, 40, 70}));
    SelectionRules::Drag(s, 10, {59, 39}, anchor);
    EXPECT_EQ(s, (Selection{40, 39, 59, 40}));
    EXPECT_EQ(anchor, (Point{40, 40}));
}

TEST(EditorOutline, HandlesSitThreePixelsOutsideTheFrame) {
    auto h = OutlineGeometry::Handles({100, 50, 200, 90});
    EXPECT_EQ(h[0], (Rect{92, 42, 97, 47}));
    EXPECT_EQ(h[1], (Rect{148, 42, 153, 47}));
    EXPECT_EQ(h[2], (Rect{203, 42, 208, 47}));
    EXPECT_EQ(h[3], (Rect{92, 68, 97, 73}));
    EXPECT_EQ(h[4], (Rect{203, 68, 208, 73}));
    EXPECT_EQ(h[5], (Rect{92, 93, 97, 98}));
    EXPECT_EQ(h[6], (Rect{148, 93, 153, 98}));
    EXPECT_EQ(h[7], (Rect{203, 93, 208, 98}));
}

TEST(EditorOutline, ASmallFrameSpreadsItsHandlesOverFivePixels) {
    // A 2 x 1 frame: handles as for a 5 x 5 frame centred on it.
    auto h = OutlineGeometry::Handles({10, 20, 12, 21});
    EXPECT_EQ(h[0], (Rect{1, 10, 6, 15}));      // a = 9, b = 18
    EXPECT_EQ(h[7], (Rect{17, 26, 22, 31}));    // c = 14, d = 23
    EXPECT_EQ(h[1], (Rect{9, 10, 14, 15}));     // mx = 11
    EXPECT_EQ(h[3], (Rect{1, 18, 6, 23}));      // my = 20
    // The hit test uses the same spread handles; the frame itself stays as it is.
    EXPECT_EQ(OutlineGeometry::HitTest({10, 20, 12, 21}, 19, 28), 8);
    EXPECT_EQ(OutlineGeometry::HitTest({10, 20, 12, 21}, 11, 20), 9);
    EXPECT_EQ(OutlineGeometry::HitTest({10, 20, 12, 21}, 12, 20), 10);
    // Exactly 5 wide is not spread.
    EXPECT_EQ(OutlineGeometry::Handles({10, 20, 15, 25})[0], (Rect{2, 12, 7, 17}));
}

TEST(EditorOutline, HitTestFindsInsideHandlesAndEverythingElse) {
    Rect frame{100, 50, 200, 90};
    EXPECT_EQ(OutlineGeometry::HitTest(frame, 100, 50), 9);   // left and top edges are inside
    EXPECT_EQ(OutlineGeometry::HitTest(frame, 199, 89), 9);
    EXPECT_EQ(OutlineGeometry::HitTest(frame, 200, 70), 10);  // right edge is outside
    EXPECT_EQ(OutlineGeometry::HitTest(frame, 201, 70), 10);  // the gap before the handle
    int expected = 1;
    for (Rect h : OutlineGeometry::Handles(frame)) {
        EXPECT_EQ(OutlineGeometry::HitTest(frame, h.left, h.top), expected);
        EXPECT_EQ(OutlineGeometry::HitTest(frame, h.right - 1, h.bottom - 1), expected);
        EXPECT_EQ(OutlineGeometry::HitTest(frame, h.right, h.bottom), 10);
        ++expected;
    }
}

TEST(EditorDashPattern, DashesRunAcrossCornersOnBothPaths) {
    using P = DashPattern::Piece;
    DashPattern dashes;
    std::vector<P> pieces = dashes.Walk(0, 0, 10, 4);
    std::vector<P> expected = {
        // Top edge: one black pixel (the phase), white 3, black 5, then a white dash cut by the
        // corner that goes on down the right edge.
        {0, 0, 1, 0, 0}, {1, 0, 4, 0, 1}, {4, 0, 9, 0, 0}, {9, 0, 10, 0, 1},
        {10, 0, 10, 2, 1}, {10, 2, 10, 4, 0},
        // Left edge from the same start; its white dash ends exactly at the corner, so the bottom
        // edge begins black.
        {0, 0, 0, 1, 0}, {0, 1, 0, 4, 1},
        {0, 4, 5, 4, 0}, {5, 4, 8, 4, 1}, {8, 4, 10, 4, 0},
    };
    EXPECT_EQ(pieces, expected);
}

TEST(EditorDashPattern, EachDrawAdvancesThePhaseByTwoAndSwapsPens) {
    DashPattern dashes;
    std::vector<std::pair<int, int>> states;
    for (int i = 0; i < 6; ++i) {
        dashes.Advance();
        states.push_back({dashes.phase, dashes.startPen});
    }
    // Black runs 1, 3, 5, then white 1, 3, then black again.
    std::vector<std::pair<int, int>> expected = {{3, 0}, {5, 0}, {1, 1}, {3, 1}, {1, 0}, {3, 0}};
    EXPECT_EQ(states, expected);
    // With phase 3 on black the top edge starts with three black pixels.
    dashes.phase = 3;
    dashes.startPen = 0;
    EXPECT_EQ(dashes.Walk(0, 0, 20, 20)[0], (DashPattern::Piece{0, 0, 3, 0, 0}));
}

TEST(EditorDashPattern, ClippingDropsPiecesButNotThePenOrder) {
    DashPattern dashes;
    dashes.phase = 2;
    std::vector<DashPattern::Piece> all = dashes.Walk(-500, -500, 900, 900);
    std::vector<DashPattern::Piece> visible = dashes.Walk(-500, -500, 900, 900, {0, 0, 400, 300});
    std::vector<DashPattern::Piece> kept;
    for (const auto& p : all) {
        int lastX = p.x1 > p.x0 ? p.x1 - 1 : p.x0, lastY = p.y1 > p.y0 ? p.y1 - 1 : p.y0;
        if (lastX >= 0 && p.x0 < 400 && lastY >= 0 && p.y0 < 300) kept.push_back(p);
    }
    EXPECT_EQ(visible, kept);
    // The frame lies wholly outside the window: its pieces all go.
    EXPECT_TRUE(dashes.Walk(-500, -500, 900, 900, {0, 0, 400, 300}).size() < all.size());
    EXPECT_TRUE(dashes.Walk(-500, -500, -100, -100, {0, 0, 400, 300}).empty());
}

TEST(EditorDashPattern, AnEmptyFrameDrawsNothing) {
    DashPattern dashes;
    EXPECT_TRUE(dashes.Walk(5, 5, 5, 5).empty());
    // One pixel wide: only the vertical edges have length.
    std::vector<DashPattern::Piece> line = dashes.Walk(5, 5, 5, 9);
    ASSERT_FALSE(line.empty());
    for (const auto& p : line) EXPECT_EQ(p.x0, p.x1);
}
