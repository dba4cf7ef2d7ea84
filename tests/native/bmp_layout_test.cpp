#include "imagefile/bmp_layout.h"

#include <gtest/gtest.h>

namespace {

using namespace BmpLayout;

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }

TEST(BmpLayout, StridesArePaddedToFourBytes) {
    EXPECT_EQ(Stride(1, 24), 4u);
    EXPECT_EQ(Stride(1, 8), 4u);
    EXPECT_EQ(Stride(4, 8), 4u);
    EXPECT_EQ(Stride(5, 8), 8u);
    EXPECT_EQ(Stride(3, 24), 12u);
    EXPECT_EQ(Stride(7, 24), 24u);
    EXPECT_EQ(Stride(9, 4), 8u);
    EXPECT_EQ(Stride(33, 1), 8u);
    EXPECT_EQ(Stride(100000, 32), 400000u);
    EXPECT_EQ(ColorTableBytes(1), 8u);
    EXPECT_EQ(ColorTableBytes(4), 64u);
    EXPECT_EQ(ColorTableBytes(8), 1024u);
    EXPECT_EQ(ColorTableBytes(24), 0u);
}

TEST(BmpLayout, HeadersCarryTheFieldsAtTheirOffsets) {
    auto f = FileHeader(54 + 12, 54);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(U32(&f[2]), 66u);
    EXPECT_EQ(U32(&f[6]), 0u);
    EXPECT_EQ(U32(&f[10]), 54u);
    auto i = InfoHeader(3, 2, 24);
    EXPECT_EQ(U32(&i[0]), 40u);
    EXPECT_EQ(U32(&i[4]), 3u);
    EXPECT_EQ(U32(&i[8]), 2u);
    EXPECT_EQ(i[12] | i[13] << 8, 1);
    EXPECT_EQ(i[14] | i[15] << 8, 24);
    for (int k = 16; k < 40; ++k) EXPECT_EQ(i[k], 0) << k;
}

TEST(BmpLayout, EightBitFileHasFullTableAndBottomUpPaddedRows) {
    std::vector<uint8_t> table(1024);
    for (int k = 0; k < 1024; ++k) table[k] = static_cast<uint8_t>(k * 7);
    std::vector<uint8_t> indices = {1, 2, 3, 4, 5, 6};  // 3 x 2, top row first
    auto file = Encode8Bit(3, 2, table, indices);
    ASSERT_EQ(file.size(), 14u + 40 + 1024 + 2 * 4);
    EXPECT_EQ(U32(&file[2]), file.size());
    EXPECT_EQ(U32(&file[10]), 1078u);
    EXPECT_EQ(file[54 + 5], table[5]);
    const uint8_t* rows = &file[1078];
    EXPECT_EQ((std::vector<uint8_t>(rows, rows + 4)), (std::vector<uint8_t>{4, 5, 6, 0}));  // bottom row
    EXPECT_EQ((std::vector<uint8_t>(rows + 4, rows + 8)), (std::vector<uint8_t>{1, 2, 3, 0}));
}

}  // namespace
