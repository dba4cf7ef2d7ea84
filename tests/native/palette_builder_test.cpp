#include "imagefile/palette_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace {

using ColorAt = std::function<uint32_t(int, int)>;  // 0xRRGGBB of a pixel

std::vector<uint8_t> Image(int width, int height, const ColorAt& colorAt) {
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

PaletteBuilder::Indexed Build(const std::vector<uint8_t>& pixels, int width, int height) {
    return PaletteBuilder::Build(pixels.data(), width, height, static_cast<size_t>(width) * 4);
}

uint32_t Entry(const PaletteBuilder::Indexed& r, uint8_t index) {
    const uint8_t* e = &r.colorTable[index * 4];
    return e[0] | e[1] << 8 | uint32_t(e[2]) << 16;
}

uint32_t Pixel(const std::vector<uint8_t>& pixels, size_t i) {
    return pixels[i * 4] | pixels[i * 4 + 1] << 8 | uint32_t(pixels[i * 4 + 2]) << 16;
}

int Distance(uint32_t a, uint32_t b) {
    int d = 0;
    for (int k = 0; k < 3; ++k) {
        const int diff = int((a >> (8 * k)) & 0xFF) - int((b >> (8 * k)) & 0xFF);
        d += diff * diff;
    }
    return d;
}

double Psnr(const std::vector<uint8_t>& pixels, const PaletteBuilder::Indexed& r) {
    double squared = 0;
    for (size_t i = 0; i < r.indices.size(); ++i) squared += Distance(Pixel(pixels, i), Entry(r, r.indices[i]));
    double mse = squared / (r.indices.size() * 3.0);
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

size_t DistinctColors(const std::vector<uint8_t>& pixels) {
    std::set<uint32_t> colors;
    for (size_t i = 0; i < pixels.size() / 4; ++i) colors.insert(Pixel(pixels, i));
    return colors.size();
}

// The fixed palette a 256-colour display offers, a uniform 6x6x6 cube, each pixel on its nearest
// cube colour.
PaletteBuilder::Indexed OnColorCube(const std::vector<uint8_t>& pixels) {
    PaletteBuilder::Indexed cube;
    cube.colorTable.assign(1024, 0);
    for (int i = 0; i < 216; ++i) {
        cube.colorTable[i * 4] = (i % 6) * 51;
        cube.colorTable[i * 4 + 1] = (i / 6 % 6) * 51;
        cube.colorTable[i * 4 + 2] = (i / 36) * 51;
    }
    for (size_t i = 0; i < pixels.size() / 4; ++i) {
        auto q = [&](int k) { return (pixels[i * 4 + k] + 25) / 51; };
        cube.indices.push_back(static_cast<uint8_t>(q(0) + 6 * q(1) + 36 * q(2)));
    }
    return cube;
}

// No pixel may sit on an entry farther from its colour than some other entry of the table.
void ExpectEveryPixelOnItsNearestEntry(const std::vector<uint8_t>& pixels, const PaletteBuilder::Indexed& r) {
    std::map<uint32_t, int> nearest;  // colour -> smallest distance to any entry
    size_t wrong = 0;
    for (size_t i = 0; i < r.indices.size(); ++i) {
        const uint32_t c = Pixel(pixels, i);
        auto found = nearest.find(c);
        if (found == nearest.end()) {
            int best = 1 << 30;
            for (int e = 0; e < 256; ++e) best = std::min(best, Distance(c, Entry(r, uint8_t(e))));
            found = nearest.emplace(c, best).first;
        }
        wrong += Distance(c, Entry(r, r.indices[i])) != found->second;
    }
    EXPECT_EQ(wrong, 0u);
}

// A picture the way a desktop capture looks: large flat areas (a window, a title bar, a selected
// row, a border) and text on them whose anti-aliased edges blend the text colour into the
// background channel by channel, as sub-pixel rendering does. Gives some thousand colours.
std::vector<uint8_t> ScreenshotLike(int width, int height) {
    auto background = [&](int x, int y) -> uint32_t {
        if (x < 2 || y < 2 || x >= width - 2 || y >= height - 2) return 0x3C6E9C;  // border
        if (y < 24) return 0xDDE3EA;                                             // title bar
        if (y >= 96 && y < 112) return 0x0A64D8;                                 // selected row
        return 0xFFFFFF;
    };
    auto ink = [&](int, int y) -> uint32_t { return y < 24 ? 0x1B1B1B : (y >= 96 && y < 112) ? 0xFFFFFF : 0x000000; };
    // Coverage of a pixel by strokes of "letters": two slanted strokes per 7-pixel letter cell,
    // their place and slant varying from letter to letter; words of 2 to 8 letters, lines of
    // varying length, and no text in the lower part of the window.
    auto coverage = [&](double x, int y) -> double {
        const int line = (y - 6) % 18, lineNumber = (y - 6) / 18;
        const int lineEnd = width / 2 + (lineNumber * 97) % (width / 2) - 10;
        if (y < 6 || y >= 2 * height / 3 || line >= 11 || x < 8 || x > lineEnd) return 0;
        const int letter = static_cast<int>(x - 8) / 7 + lineNumber * 5;
        if (letter % 9 == 0 || (letter * 7 + lineNumber) % 13 == 0) return 0;  // spaces between words
        const double slant = ((letter * 37) % 23 - 11) / 20.0, inCell = x - 8 - (letter - lineNumber * 5) * 7.0;
        double best = 0;
        for (double stroke : {1.3 + (letter * 7 % 10) / 10.0, 4.2 + (letter * 3 % 10) / 10.0}) {
            const double d = std::fabs(inCell - stroke - slant * (line - 5));
            best = std::max(best, std::clamp(1.6 - d, 0.0, 1.0));
        }
        return best;
    };
    return Image(width, height, [&](int x, int y) -> uint32_t {
        const uint32_t bg = background(x, y), fg = ink(x, y);
        uint32_t c = 0;
        for (int k = 0; k < 3; ++k) {  // blue sampled a third of a pixel right of green, red left
            const double a = coverage(x + (1 - k) / 3.0, y);
            const double v = ((fg >> (8 * k)) & 0xFF) * a + ((bg >> (8 * k)) & 0xFF) * (1 - a);
            c |= uint32_t(std::lround(v)) << (8 * k);
        }
        return c;
    });
}

TEST(PaletteBuilder, AtMost256ColoursAreKeptExactly) {
    // 16 x 16 = 256 distinct colours, each used by several pixels.
    auto pixels = Image(64, 32, [](int x, int y) -> uint32_t { return uint32_t((x % 16) * 16 + 1) << 16 | (y % 16) * 15 | 0x4400; });
    auto r = Build(pixels, 64, 32);
    EXPECT_TRUE(r.exact);
    ASSERT_EQ(r.colorTable.size(), 1024u);
    ASSERT_EQ(r.indices.size(), 64u * 32);
    for (size_t i = 0; i < r.indices.size(); ++i) ASSERT_EQ(Entry(r, r.indices[i]), Pixel(pixels, i)) << i;
}

TEST(PaletteBuilder, OneColourIsOneEntry) {
    for (auto [width, height] : {std::pair{1, 1}, std::pair{37, 5}}) {
        auto pixels = Image(width, height, [](int, int) -> uint32_t { return 0x80FF01; });
        auto r = Build(pixels, width, height);
        EXPECT_TRUE(r.exact);
        ASSERT_EQ(r.indices.size(), size_t(width) * height);
        for (uint8_t index : r.indices) EXPECT_EQ(Entry(r, index), 0x80FF01u);
        for (int e = 1; e < 256; ++e) EXPECT_EQ(Entry(r, uint8_t(e)), 0u) << "unused entries are black";
    }
}

TEST(PaletteBuilder, With257ColoursOnlyTheClosestTwoShareAnEntry) {
    // 256 colours far apart, and a 257th one step away from one of them: the best palette merges
    // those two and keeps every other colour exact.
    auto grid = [](int i) -> uint32_t { return uint32_t((i % 16) * 17) << 16 | ((i / 16) * 17) << 8 | 0x40; };
    const uint32_t extra = grid(77) + 1;
    auto pixels = Image(257, 3, [&](int x, int) { return x == 256 ? extra : grid(x); });
    auto r = Build(pixels, 257, 3);
    EXPECT_FALSE(r.exact);
    ASSERT_EQ(r.indices.size(), 257u * 3);
    size_t changed = 0;
    for (size_t i = 0; i < r.indices.size(); ++i) {
        const int d = Distance(Pixel(pixels, i), Entry(r, r.indices[i]));
        EXPECT_LE(d, 1) << "pixel " << i;
        changed += d != 0;
    }
    EXPECT_LE(changed, 3u);  // one column of the two merged colours
    EXPECT_GT(Psnr(pixels, r), 60.0);
    ExpectEveryPixelOnItsNearestEntry(pixels, r);
}

TEST(PaletteBuilder, ScreenshotKeepsItsFlatColoursAndBeatsTheColourCube) {
    const int width = 640, height = 300;
    auto pixels = ScreenshotLike(width, height);
    const size_t colors = DistinctColors(pixels);
    ASSERT_GT(colors, 600u) << "well past 256, so that the palette has to be fitted";
    auto r = Build(pixels, width, height);
    EXPECT_FALSE(r.exact);
    // The backgrounds come through unchanged; solid ink, much rarer, at most one step off.
    const std::set<uint32_t> backgrounds = {0x3C6E9C, 0xDDE3EA, 0x0A64D8, 0xFFFFFF};
    const std::set<uint32_t> inks = {0x1B1B1B, 0x000000};
    for (size_t i = 0; i < r.indices.size(); ++i) {
        const uint32_t c = Pixel(pixels, i);
        if (backgrounds.count(c)) {
            ASSERT_EQ(Entry(r, r.indices[i]), c) << std::hex << c;
        } else if (inks.count(c)) {
            ASSERT_LE(Distance(Entry(r, r.indices[i]), c), 3) << std::hex << c;
        }
    }
    EXPECT_GT(Psnr(pixels, r), 45.0);  // ImageMagick's -colors 256 +dither: 42.6 dB
    EXPECT_GT(Psnr(pixels, r), Psnr(pixels, OnColorCube(pixels)) + 15);
    ExpectEveryPixelOnItsNearestEntry(pixels, r);
}

TEST(PaletteBuilder, GradientGetsAPaletteThatFitsIt) {
    // A smooth two-way gradient: 65536 colours, too many to fit one by one.
    auto pixels = Image(256, 256, [](int x, int y) -> uint32_t { return uint32_t(x) << 16 | uint32_t(y) << 8 | ((x + y) / 2); });
    auto r = Build(pixels, 256, 256);
    EXPECT_FALSE(r.exact);
    EXPECT_GT(Psnr(pixels, r), 34.5);  // ImageMagick's -colors 256 +dither: 33.9 dB
    // The uniform cube a display would offer reaches far less.
    EXPECT_GT(Psnr(pixels, r), Psnr(pixels, OnColorCube(pixels)) + 5);
    ExpectEveryPixelOnItsNearestEntry(pixels, r);
}

TEST(PaletteBuilder, SameInputGivesTheSameResult) {
    const auto screenshot = ScreenshotLike(320, 120);
    const auto noise = Image(300, 200, [](int x, int y) { return (uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u) & 0xFFFFFF; });
    for (const auto* pixels : {&screenshot, &noise}) {
        const int width = pixels == &screenshot ? 320 : 300, height = pixels == &screenshot ? 120 : 200;
        auto first = Build(*pixels, width, height);
        auto second = Build(*pixels, width, height);
        EXPECT_EQ(first.colorTable, second.colorTable);
        EXPECT_EQ(first.indices, second.indices);
    }
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
    for (auto [width, height] : {std::pair{0, 0}, std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 4}, std::pair{4, -3}}) {
        auto empty = PaletteBuilder::Build(pixels.data(), width, height, 40);
        EXPECT_TRUE(empty.indices.empty());
        EXPECT_EQ(empty.colorTable.size(), 1024u);
    }
}

TEST(PaletteBuilder, PaddingBetweenRowsIsNeverRead) {
    // Each case laid out once packed and once with rows 13 pixels apart whose padding holds colours
    // of its own: the results must be the same, in the exact, the fitted and the many-colour case.
    struct Case {
        int width, height;
        ColorAt colorAt;
    };
    const Case cases[] = {
        {7, 9, [](int x, int y) -> uint32_t { return uint32_t(x * 30) << 16 | uint32_t(y * 20); }},
        {10, 60, [](int x, int y) -> uint32_t { return uint32_t(x * 25) << 16 | uint32_t(y * 4) << 8 | 7; }},
        {12, 2000, [](int x, int y) -> uint32_t { return (uint32_t(x) * 2654435761u ^ uint32_t(y) * 40503u) & 0xFFFFFF; }},
    };
    for (const Case& c : cases) {
        const auto packed = Image(c.width, c.height, c.colorAt);
        const int paddedWidth = 13;
        const auto padded = Image(paddedWidth, c.height, [&](int x, int y) {
            return x < c.width ? c.colorAt(x, y) : uint32_t(x * 7919 + y * 104729) & 0xFFFFFF;
        });
        auto fromPacked = Build(packed, c.width, c.height);
        auto fromPadded = PaletteBuilder::Build(padded.data(), c.width, c.height, size_t(paddedWidth) * 4);
        EXPECT_EQ(fromPacked.colorTable, fromPadded.colorTable) << c.width;
        EXPECT_EQ(fromPacked.indices, fromPadded.indices) << c.width;
        EXPECT_EQ(fromPacked.exact, fromPadded.exact) << c.width;
    }
}

}  // namespace
