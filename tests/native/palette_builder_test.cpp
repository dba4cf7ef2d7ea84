#include "imagefile/palette_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {

std::vector<uint8_t> Image(int width, int height, uint32_t (*colorAt)(int, int)) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t c = colorAt(x, y);
            uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = c & 0xFF;
            p[1] = (c >> 8) & 0xFF;
            p[2] = (c >> 16) & 0xFF;
            p[3] = 0xEE;  // the unused byte must not matter
        }
    return pixels;
}

uint32_t Entry(const PaletteBuilder::Indexed& r, uint8_t index) {
    const uint8_t* e = &r.colorTable[index * 4];
    return e[0] | e[1] << 8 | uint32_t(e[2]) << 16;
}

double Psnr(const std::vector<uint8_t>& pixels, const PaletteBuilder::Indexed& r) {
    double squared = 0;
    for (size_t i = 0; i < r.indices.size(); ++i) {
        uint32_t c = Entry(r, r.indices[i]);
        for (int k = 0; k < 3; ++k) {
            double d = double(pixels[i * 4 + k]) - double((c >> (8 * k)) & 0xFF);
            squared += d * d;
        }
    }
    double mse = squared / (r.indices.size() * 3.0);
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

TEST(PaletteBuilder, AtMost256ColoursAreKeptExactly) {
    // 16 x 16 = 256 distinct colours, each used by several pixels.
    auto pixels = Image(64, 32, [](int x, int y) -> uint32_t { return uint32_t((x % 16) * 16 + 1) << 16 | (y % 16) * 15 | 0x4400; });
    auto r = PaletteBuilder::Build(pixels.data(), 64, 32, 64 * 4);
    EXPECT_TRUE(r.exact);
    ASSERT_EQ(r.colorTable.size(), 1024u);
    ASSERT_EQ(r.indices.size(), 64u * 32);
    for (size_t i = 0; i < r.indices.size(); ++i) {
        uint32_t original = pixels[i * 4] | pixels[i * 4 + 1] << 8 | uint32_t(pixels[i * 4 + 2]) << 16;
        ASSERT_EQ(Entry(r, r.indices[i]), original) << i;
    }
}

TEST(PaletteBuilder, ManyColoursGetAnAdaptivePaletteThatFitsTheImage) {
    // A smooth two-way gradient: 65536 colours.
    auto pixels = Image(256, 256, [](int x, int y) -> uint32_t { return uint32_t(x) << 16 | uint32_t(y) << 8 | ((x + y) / 2); });
    auto r = PaletteBuilder::Build(pixels.data(), 256, 256, 256 * 4);
    EXPECT_FALSE(r.exact);
    EXPECT_GT(Psnr(pixels, r), 30.0);
    // A uniform 6x6x6 cube, the kind of fixed palette a display would offer, reaches far less.
    PaletteBuilder::Indexed cube;
    cube.colorTable.assign(1024, 0);
    for (int i = 0; i < 216; ++i) {
        cube.colorTable[i * 4] = (i % 6) * 51;
        cube.colorTable[i * 4 + 1] = (i / 6 % 6) * 51;
        cube.colorTable[i * 4 + 2] = (i / 36) * 51;
    }
    for (size_t i = 0; i < r.indices.size(); ++i) {
        auto q = [&](int k) { return (pixels[i * 4 + k] + 25) / 51; };
        cube.indices.push_back(static_cast<uint8_t>(q(0) + 6 * q(1) + 36 * q(2)));
    }
    EXPECT_GT(Psnr(pixels, r), Psnr(pixels, cube) + 5);
}

TEST(PaletteBuilder, RowsAreReadWithTheirStrideAndOddSizesWork) {
    std::vector<uint8_t> pixels(3 * 40, 0xCC);  // 3 rows of 40 bytes, 1 pixel used per row
    pixels[0] = 1;
    pixels[40] = 2;
    pixels[80] = 3;
    auto r = PaletteBuilder::Build(pixels.data(), 1, 3, 40);
    ASSERT_EQ(r.indices.size(), 3u);
    EXPECT_EQ(Entry(r, r.indices[0]), 0xCCCC01u);
    EXPECT_EQ(Entry(r, r.indices[2]), 0xCCCC03u);
    EXPECT_TRUE(PaletteBuilder::Build(pixels.data(), 0, 0, 0).indices.empty());
}

}  // namespace
