#include "framework/text_conversions.h"

#include <gtest/gtest.h>

namespace {

using TextConversions::ParseInt;

TEST(TextConversions, WholeFieldMustBeAnInteger) {
    int v = 7;
    EXPECT_TRUE(ParseInt("805", v));
    EXPECT_EQ(v, 805);
    EXPECT_TRUE(ParseInt("  -12 ", v));
    EXPECT_EQ(v, -12);
    EXPECT_TRUE(ParseInt("+3", v));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(ParseInt("2147483647", v));
    EXPECT_EQ(v, 2147483647);
    EXPECT_TRUE(ParseInt("-2147483648", v));
    EXPECT_EQ(v, -2147483647 - 1);
}

TEST(TextConversions, AnythingElseFailsAndKeepsTheOldValue) {
    int v = 42;
    for (const char* bad : {"", "   ", "-", "12a", "a12", "1 2", "3.5", "2147483648", "-2147483649",
                            "99999999999999999999"}) {
        EXPECT_FALSE(ParseInt(bad, v)) << bad;
        EXPECT_EQ(v, 42) << bad;
    }
}

}  // namespace
