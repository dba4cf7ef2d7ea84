#include "framework/toolbar_layout.h"

#include <gtest/gtest.h>

namespace {

using toolbar::Item;

TEST(ToolbarResource, ReadsButtonsAndSeparatorsAndRefusesBadData) {
    const std::uint8_t good[] = {1, 0, 16, 0, 15, 0, 3, 0, 0x06, 0x80, 0, 0, 0x46, 0xE1};
    toolbar::ToolbarResource r;
    ASSERT_TRUE(toolbar::ParseToolbarResource(good, sizeof good, r));
    EXPECT_EQ(r.width, 16);
    EXPECT_EQ(r.height, 15);
    EXPECT_EQ(r.ids, (std::vector<unsigned>{32774, 0, 57670}));

    toolbar::ToolbarResource untouched;
    EXPECT_FALSE(toolbar::ParseToolbarResource(good, sizeof good - 1, untouched));  // count says more
    std::uint8_t version2[sizeof good];
    std::copy(std::begin(good), std::end(good), version2);
    version2[0] = 2;
    EXPECT_FALSE(toolbar::ParseToolbarResource(version2, sizeof good, untouched));
    const std::uint8_t noImage[] = {1, 0, 0, 0, 15, 0, 0, 0};
    EXPECT_FALSE(toolbar::ParseToolbarResource(noImage, sizeof noImage, untouched));
    EXPECT_FALSE(toolbar::ParseToolbarResource(nullptr, 0, untouched));
    EXPECT_TRUE(untouched.ids.empty());
}

TEST(ToolbarWrap, RowsBreakBeforeTheButtonThatPassesTheWidthOrAtASeparator) {
    std::vector<Item> items = {{23}, {23}, {8, true}, {23}, {23}, {8, true}, {23}};
    auto wrap = toolbar::WrapAfter(items, 1000);
    EXPECT_EQ(toolbar::RowCount(items, wrap), 1);

    wrap = toolbar::WrapAfter(items, 60);  // 23+23+8 fits, the next button does not
    EXPECT_EQ(wrap, (std::vector<bool>{false, false, true, false, false, true, false}));
    EXPECT_EQ(toolbar::RowCount(items, wrap), 3);

    wrap = toolbar::WrapAfter(items, 50);  // the separator itself passes the width: it breaks
    EXPECT_TRUE(wrap[2]);

    wrap = toolbar::WrapAfter(items, 1);  // one button per row, never none
    EXPECT_EQ(toolbar::RowCount(items, wrap), 5);

    wrap = toolbar::WrapIntoRows(items, 2);
    EXPECT_LE(toolbar::RowCount(items, wrap), 2);
    EXPECT_EQ(toolbar::RowCount(items, toolbar::WrapIntoRows(items, 1)), 1);
}

}  // namespace
