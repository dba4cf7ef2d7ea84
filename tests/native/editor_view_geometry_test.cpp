// Zoom steps, the client/image mapping and the rectangles of one paint.
#include <gtest/gtest.h>

#include <vector>

#include "editor/view_geometry.h"
#include "editor/zoom_steps.h"

using ViewGeometry::Layout;
using ViewGeometry::Point;
using ViewGeometry::Span;
using ZoomSteps::Action;

TEST(EditorZoomSteps, UpFromActualSizeReachesSixHundredAndStays) {
    std::vector<int> seen;
    int zoom = 100;
    for (int i = 0; i < 5; ++i) {
        ZoomSteps::Step step = ZoomSteps::Up(zoom);
        EXPECT_EQ(step.action, Action::kStretch) << zoom;
        zoom = step.zoom;
        seen.push_back(zoom);
    }
    EXPECT_EQ(seen, (std::vector<int>{200, 300, 400, 500, 600}));
    ZoomSteps::Step beyond = ZoomSteps::Up(600);
    EXPECT_EQ(beyond.zoom, 600);
    EXPECT_EQ(beyond.action, Action::kNothing);
}

TEST(EditorZoomSteps, DownFromActualSizeReachesTenAndStillRecords) {
    std::vector<int> seen;
    int zoom = 100;
    for (int i = 0; i < 9; ++i) {
        ZoomSteps::Step step = ZoomSteps::Down(zoom);
        EXPECT_EQ(step.action, Action::kRebuildReduced) << zoom;
        zoom = step.zoom;
        seen.push_back(zoom);
    }
    EXPECT_EQ(seen, (std::vector<int>{90, 80, 70, 60, 50, 40, 30, 20, 10}));
    // At the floor nothing changes, but the history state is rewritten all the same.
    ZoomSteps::Step floor = ZoomSteps::Down(10);
    EXPECT_EQ(floor.zoom, 10);
    EXPECT_EQ(floor.action, Action::kRecordOnly);
}

TEST(EditorZoomSteps, LandingOnActualSizeFromEitherSideLeavesTheHistoryAlone) {
    EXPECT_EQ(ZoomSteps::Up(90).zoom, 100);
    EXPECT_EQ(ZoomSteps::Up(90).action, Action::kLandOnActual);
    EXPECT_EQ(ZoomSteps::Down(200).zoom, 100);
    EXPECT_EQ(ZoomSteps::Down(200).action, Action::kLandOnActual);
    // The reduced side is left through a rebuild, the enlarged side by stretching.
    EXPECT_EQ(ZoomSteps::Up(10).action, Action::kRebuildReduced);
    EXPECT_EQ(ZoomSteps::Down(300).action, Action::kStretch);
}

TEST(EditorZoomSteps, EveryStepLandsOnOneOfTheFifteenLevels) {
    int levels = 0;
    for (int zoom = 0; zoom <= 700; ++zoom) {
        if (!ZoomSteps::IsLevel(zoom)) continue;
        ++levels;
        EXPECT_TRUE(ZoomSteps::IsLevel(ZoomSteps::Up(zoom).zoom)) << zoom;
        EXPECT_TRUE(ZoomSteps::IsLevel(ZoomSteps::Down(zoom).zoom)) << zoom;
    }
    EXPECT_EQ(levels, 15);
}

TEST(EditorZoomSteps, ReducedSizesTruncate) {
    EXPECT_EQ(ZoomSteps::Scale(250, 30), 75);
    EXPECT_EQ(ZoomSteps::Scale(100, 30), 30);
    EXPECT_EQ(ZoomSteps::Scale(250, 70), 175);
    EXPECT_EQ(ZoomSteps::Scale(333, 10), 33);
    // A 4K width at 600 % does not overflow on the way.
    EXPECT_EQ(ZoomSteps::Scale(3840, 600), 23040);
    EXPECT_EQ(ZoomSteps::Scale(5000000, 600), 30000000);
}

TEST(EditorViewGeometry, EnlargedPaintStartsWithThePartlyVisiblePixel) {
    // 300 %, scroll position 7: source column 2, drawn one window pixel left of the window.
    Span s = ViewGeometry::StretchAxis(400, 250, 750, 7, 300);
    EXPECT_EQ(s.destination, -1);
    EXPECT_EQ(s.source, 2);
    EXPECT_EQ(s.sourceLength, 134);  // 401 window pixels, rounded up to whole source pixels
    EXPECT_EQ(s.destinationLength, 402);
    // On a multiple of the factor nothing is shifted.
    Span aligned = ViewGeometry::StretchAxis(400, 250, 750, 9, 300);
    EXPECT_EQ(aligned.destination, 0);
    EXPECT_EQ(aligned.source, 3);
}

TEST(EditorViewGeometry, EnlargedPaintNeverReadsPastTheImage) {
    for (int zoom = 200; zoom <= 600; zoom += 100) {
        int k = zoom / 100;
        for (int image : {1, 7, 150, 333}) {
            int total = image * k;
            for (int client : {50, 401, 1000}) {
                if (total < client) continue;
                for (int scroll = 0; scroll <= total - client; ++scroll) {
                    Span s = ViewGeometry::StretchAxis(client, image, total, scroll, zoom);
                    ASSERT_LE(s.source + s.sourceLength, image) << zoom << " " << scroll;
                    ASSERT_GE(s.destination + s.destinationLength, client);
                    ASSERT_EQ(s.destinationLength, s.sourceLength * k);
                    // The window pixel of column `source` is exactly where the scroll puts it.
                    ASSERT_EQ(s.source * k - scroll, s.destination);
                }
            }
        }
    }
}

TEST(EditorViewGeometry, AScrollPositionPastTheRangeNeverReadsPastTheBitmap) {
    EXPECT_EQ(ViewGeometry::CopyAxis(500, 900, 600), (Span{0, 300, 600, 300}));
    EXPECT_EQ(ViewGeometry::CopyAxis(500, 900, 950), (Span{0, 0, 950, 0}));
    Span s = ViewGeometry::StretchAxis(200, 100, 300, 250, 300);  // scrolled 150 past the range
    EXPECT_EQ(s.source, 83);
    EXPECT_EQ(s.source + s.sourceLength, 100);
    EXPECT_EQ(s.destinationLength, s.sourceLength * 3);
}

TEST(EditorViewGeometry, SmallImagesAreCentred) {
    EXPECT_EQ(ViewGeometry::CopyAxis(500, 200, 0), (Span{150, 200, 0, 200}));
    EXPECT_EQ(ViewGeometry::CopyAxis(501, 200, 0), (Span{150, 200, 0, 200}));
    // As wide as the window or wider: the visible part from the scroll position.
    EXPECT_EQ(ViewGeometry::CopyAxis(500, 500, 0), (Span{0, 500, 0, 500}));
    EXPECT_EQ(ViewGeometry::CopyAxis(500, 900, 40), (Span{0, 500, 40, 500}));
    // Enlarged but still smaller than the window: the whole image stretched into the middle.
    EXPECT_EQ(ViewGeometry::StretchAxis(1000, 100, 300, 0, 300), (Span{350, 300, 0, 100}));

    Layout l{800, 600, 75, 30, 0, 0, 30};
    ViewGeometry::PaintRects r = ViewGeometry::Paint(l, 75, 30);
    EXPECT_FALSE(r.stretch);
    EXPECT_EQ(r.x, (Span{362, 75, 0, 75}));
    EXPECT_EQ(r.y, (Span{285, 30, 0, 30}));
}

TEST(EditorViewGeometry, MarginPointsMapBeforeTheImage) {
    // 100 x 100 image in a 400 x 400 window: at 200 % it starts at 100, at 600 % (600 wide) it
    // scrolls; use a wider window there so that it is centred too.
    Layout at200{400, 400, 200, 200, 0, 0, 200};
    EXPECT_EQ(ViewGeometry::ClientToImage(at200, {95, 95}), (Point{-2, -2}));
    Layout at600{800, 800, 600, 600, 0, 0, 600};
    EXPECT_EQ(ViewGeometry::ClientToImage(at600, {95, 95}), (Point{0, 0}));
    EXPECT_EQ(ViewGeometry::ClientToImage(at600, {94, 0}), (Point{-1, -16}));
    // Past the right edge: a value past the image's size, not clamped.
    EXPECT_EQ(ViewGeometry::ClientToImage(at200, {310, 100}).x, 105);
}

TEST(EditorViewGeometry, MappingFollowsTheScrollPosition) {
    Layout l{300, 200, 1000, 800, 40, 25, 200};
    EXPECT_EQ(ViewGeometry::ImageToClient(l, {20, 20}), (Point{0, 15}));
    EXPECT_EQ(ViewGeometry::ClientToImage(l, {0, 15}), (Point{20, 20}));
    EXPECT_EQ(ViewGeometry::ClientToImage(l, {1, 16}), (Point{20, 20}));
    EXPECT_EQ(ViewGeometry::ClientToImage(l, {2, 17}), (Point{21, 21}));
}

TEST(EditorViewGeometry, EveryWindowPixelOfAnEnlargedPixelMapsBackToIt) {
    for (int zoom = 100; zoom <= 600; zoom += 100) {
        Layout l{640, 480, 0, 0, 13, 5, zoom};
        l.totalWidth = 500 * zoom / 100;
        l.totalHeight = 400 * zoom / 100;
        for (int x = 0; x < 120; ++x) {
            Point c = ViewGeometry::ImageToClient(l, {x, x});
            for (int d = 0; d < zoom / 100; ++d)
                ASSERT_EQ(ViewGeometry::ClientToImage(l, {c.x + d, c.y + d}), (Point{x, x})) << zoom;
        }
    }
}

TEST(EditorViewGeometry, ReducedMappingIsExactAtPixelBoundaries) {
    // 7 window pixels at 70 % are exactly image pixel 10; a floating factor of 0.7 would say 9.
    Layout l{100, 100, 1000, 1000, 0, 0, 70};
    EXPECT_EQ(ViewGeometry::ClientToImage(l, {7, 14}), (Point{10, 20}));
    Layout at30{100, 100, 1000, 1000, 0, 0, 30};
    EXPECT_EQ(ViewGeometry::ClientToImage(at30, {3, 2}), (Point{10, 6}));
}
