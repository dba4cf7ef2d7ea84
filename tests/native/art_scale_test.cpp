// The toolbar's picture size at each display scale: never larger than the scale asks for, so a
// 125 % screen keeps the 16-pixel pictures rather than overflowing its buttons with 24-pixel ones.
#include <gtest/gtest.h>

#include "framework/art_scale.h"

TEST(ArtScale, LargestSizeTheScaleHolds) {
    const std::vector<int> sizes{16, 24, 32};
    EXPECT_EQ(ArtSizeForDpi(96, sizes), 16);
    EXPECT_EQ(ArtSizeForDpi(120, sizes), 16);   // 125 %: 20 pixels of room
    EXPECT_EQ(ArtSizeForDpi(144, sizes), 24);   // 150 %
    EXPECT_EQ(ArtSizeForDpi(168, sizes), 24);   // 175 %: 28 pixels
    EXPECT_EQ(ArtSizeForDpi(192, sizes), 32);   // 200 %
    EXPECT_EQ(ArtSizeForDpi(288, sizes), 32);   // larger than any picture: the largest
}

TEST(ArtScale, UnknownOrSmallScaleKeepsTheBaseSize) {
    EXPECT_EQ(ArtSizeForDpi(0, {16, 24, 32}), 16);
    EXPECT_EQ(ArtSizeForDpi(72, {16, 24, 32}), 16);
    EXPECT_EQ(ArtSizeForDpi(192, {16}), 16);
    EXPECT_EQ(ArtSizeForDpi(192, {}), 0);
}
