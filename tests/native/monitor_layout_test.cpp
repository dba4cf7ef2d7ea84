#include "capture/monitor_layout.h"

#include <gtest/gtest.h>

namespace {

using MonitorLayout::MonitorAt;
using MonitorLayout::PartsIn;
using MonitorLayout::VirtualDesktop;

// The primary at the origin, a smaller second monitor to its right, top edges aligned: the area
// below the second one belongs to no monitor.
const std::vector<PixelRect> kSideBySide{{0, 0, 1024, 768}, {1024, 0, 1824, 600}};
// The second monitor left of and above the primary: negative coordinates.
const std::vector<PixelRect> kLeftAbove{{0, 0, 1024, 768}, {-800, -200, 0, 400}};
// Two monitors with a gap between them.
const std::vector<PixelRect> kWithGap{{0, 0, 640, 480}, {700, 100, 1340, 580}};

TEST(MonitorLayout, VirtualDesktopIsTheUnionWhereverTheMonitorsLie) {
    EXPECT_EQ(VirtualDesktop(kSideBySide), (PixelRect{0, 0, 1824, 768}));
    EXPECT_EQ(VirtualDesktop(kLeftAbove), (PixelRect{-800, -200, 1024, 768}));
    EXPECT_EQ(VirtualDesktop(kWithGap), (PixelRect{0, 0, 1340, 580}));
    EXPECT_EQ(VirtualDesktop({{0, 0, 1024, 768}}), (PixelRect{0, 0, 1024, 768}));
    EXPECT_TRUE(VirtualDesktop({}).IsEmpty());
}

TEST(MonitorLayout, MonitorUnderThePointer) {
    EXPECT_EQ(*MonitorAt(kSideBySide, {1023, 767}), kSideBySide[0]);
    EXPECT_EQ(*MonitorAt(kSideBySide, {1024, 0}), kSideBySide[1]);  // first pixel of the second
    EXPECT_EQ(*MonitorAt(kLeftAbove, {-1, -200}), kLeftAbove[1]);
    EXPECT_EQ(*MonitorAt(kLeftAbove, {0, 0}), kLeftAbove[0]);
}

TEST(MonitorLayout, PointerOffEveryMonitorTakesTheNearest) {
    // Below the short second monitor, but nearer to it than to the primary.
    EXPECT_EQ(*MonitorAt(kSideBySide, {1500, 700}), kSideBySide[1]);
    // In the gap: 20 pixels from the first, 40 from the second.
    EXPECT_EQ(*MonitorAt(kWithGap, {660, 200}), kWithGap[0]);
    EXPECT_EQ(*MonitorAt(kWithGap, {690, 200}), kWithGap[1]);
    // Far beyond every edge still gives a monitor; no monitors give none.
    EXPECT_EQ(*MonitorAt(kLeftAbove, {-5000, -5000}), kLeftAbove[1]);
    EXPECT_EQ(MonitorAt({}, {0, 0}), nullptr);
}

TEST(MonitorLayout, PartsOfTheWholeDesktopLandAtTheirOffsetFromItsCorner) {
    std::vector<MonitorLayout::Part> parts = PartsIn(kLeftAbove, VirtualDesktop(kLeftAbove));
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].source, kLeftAbove[0]);
    EXPECT_EQ(parts[0].target, (PixelPoint{800, 200}));
    EXPECT_EQ(parts[1].source, kLeftAbove[1]);
    EXPECT_EQ(parts[1].target, (PixelPoint{0, 0}));
}

TEST(MonitorLayout, AnAreaAcrossTheSeamTakesAPieceOfEachMonitor) {
    // A window straddling the seam and reaching below the short monitor.
    std::vector<MonitorLayout::Part> parts = PartsIn(kSideBySide, {900, 500, 1200, 700});
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].source, (PixelRect{900, 500, 1024, 700}));
    EXPECT_EQ(parts[0].target, (PixelPoint{0, 0}));
    EXPECT_EQ(parts[1].source, (PixelRect{1024, 500, 1200, 600}));
    EXPECT_EQ(parts[1].target, (PixelPoint{124, 0}));
    // An area in a gap touches no monitor.
    EXPECT_TRUE(PartsIn(kWithGap, {645, 10, 695, 90}).empty());
}

}  // namespace
