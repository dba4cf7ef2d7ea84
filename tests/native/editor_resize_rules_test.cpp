// The Resize dialog's checks and its keep-ratio exchange between the two fields.
#include <gtest/gtest.h>

#include <climits>

#include "editor/resize_rules.h"

using ResizeRules::Size;
using ResizeRules::Verdict;

TEST(EditorResizeRules, AcceptsUpToNineMillionPixels) {
    EXPECT_EQ(ResizeRules::Check(3000, 3000), Verdict::kAccepted);
    EXPECT_EQ(ResizeRules::Check(3001, 3000), Verdict::kTooBig);
    EXPECT_EQ(ResizeRules::Check(9000000, 1), Verdict::kAccepted);
    EXPECT_EQ(ResizeRules::Check(1, 1), Verdict::kAccepted);
}

TEST(EditorResizeRules, RefusesNonPositiveSidesFirst) {
    EXPECT_EQ(ResizeRules::Check(0, 100), Verdict::kNotPositive);
    EXPECT_EQ(ResizeRules::Check(100, 0), Verdict::kNotPositive);
    EXPECT_EQ(ResizeRules::Check(-5, -5), Verdict::kNotPositive);
    EXPECT_EQ(ResizeRules::Check(0, INT_MAX), Verdict::kNotPositive);
}

TEST(EditorResizeRules, ProductsThatWouldWrapInThirtyTwoBitsAreStillTooBig) {
    // 65536 x 65536 is 2^32: zero in 32-bit arithmetic.
    EXPECT_EQ(ResizeRules::Check(65536, 65536), Verdict::kTooBig);
    EXPECT_EQ(ResizeRules::Check(INT_MAX, INT_MAX), Verdict::kTooBig);
    EXPECT_EQ(ResizeRules::Check(131072, 32769), Verdict::kTooBig);
}

TEST(EditorResizeRules, KeepRatioFieldsSettle) {
    // From 800 x 600, a width of 805 gives 603, which gives 804, which gives 603 again.
    EXPECT_EQ(ResizeRules::Settle({805, 600}, true, 800, 600), (Size{804, 603}));
    EXPECT_EQ(ResizeRules::Settle({320, 480}, true, 640, 480), (Size{320, 240}));
    // The height edited: 601 gives 801, which gives 600, which gives 800, which keeps 600.
    EXPECT_EQ(ResizeRules::Settle({800, 601}, false, 800, 600), (Size{800, 600}));
    // Nothing to answer: the fields already agree.
    EXPECT_EQ(ResizeRules::Settle({400, 300}, true, 800, 600), (Size{400, 300}));
}

TEST(EditorResizeRules, ProportionsTruncateAndStayInRange) {
    EXPECT_EQ(ResizeRules::HeightForWidth(805, 800, 600), 603);
    EXPECT_EQ(ResizeRules::WidthForHeight(603, 800, 600), 804);
    EXPECT_EQ(ResizeRules::HeightForWidth(INT_MAX, 1, 1000), INT_MAX);
    EXPECT_EQ(ResizeRules::HeightForWidth(100, 0, 600), 0);
    EXPECT_EQ(ResizeRules::Settle({7, 7}, true, 0, 0), (Size{0, 0}));  // degenerate, but it ends
}
