#include "wexbury/bmp_reader.h"

#include <gtest/gtest.h>

#include "tests/native/wexbury_test_support.h"

namespace {

using namespace wexbury_test;
using wexbury::BmpError;

BmpError Decode(const std::vector<uint8_t>& file, wexbury::RgbImage& image) {
    return wexbury::DecodeBmp(file.data(), file.size(), image);
}

BmpError Decode(const std::vector<uint8_t>& file) {
    wexbury::RgbImage image;
    return Decode(file, image);
}

Rgb PixelOf(const wexbury::RgbImage& image, int x, int y) {
    const uint8_t* p = image.Row(y) + 3 * x;
    return Rgb{p[2], p[1], p[0]};
}

void ExpectPicture(const wexbury::RgbImage& image, const Picture& expected) {
    ASSERT_EQ(image.width, expected.width);
    ASSERT_EQ(image.height, expected.height);
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            ASSERT_EQ(PixelOf(image, x, y), expected.At(x, y)) << "at " << x << "," << y;
}

// A picture using only `palette`'s colours, in a pattern where every position matters.
Picture PalettePicture(int w, int h, const std::vector<Rgb>& palette) {
    Picture p{w, h, std::vector<Rgb>(size_t(w) * h)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.At(x, y) = palette[(x * 7 + y * 3 + x * y) % palette.size()];
    return p;
}

std::vector<Rgb> Palette(int n) {
    std::vector<Rgb> pal;
    for (int i = 0; i < n; ++i)
        pal.push_back(Rgb{uint8_t(i * 37), uint8_t(255 - i), uint8_t(i * 11 + 3)});
    return pal;
}

TEST(WexburyBmpReader, IndexedDepthsUnpackEveryPixelThroughTheTable) {
    // Widths that leave partial bytes and row padding at each depth.
    for (int bits : {1, 4, 8}) {
        for (int w : {1, 2, 3, 7, 9, 13, 33}) {
            const auto pal = Palette(1 << bits);
            const Picture p = PalettePicture(w, 5, pal);
            wexbury::RgbImage image;
            ASSERT_EQ(Decode(MakeBmp(p, bits, pal), image), BmpError::None)
                << bits << " bits, w " << w;
            ExpectPicture(image, p);
        }
    }
}

TEST(WexburyBmpReader, DirectDepthsGiveTheStoredColours) {
    const Picture p = TestPicture(11, 35);
    for (int bits : {24, 32}) {
        wexbury::RgbImage image;
        ASSERT_EQ(Decode(MakeBmp(p, bits), image), BmpError::None);
        ExpectPicture(image, p);
    }
}

TEST(WexburyBmpReader, SixteenBitsIs555WithFullRangeExpansion) {
    Picture p{4, 1, {Rgb{255, 255, 255}, Rgb{0, 0, 0}, Rgb{8, 16, 248}, Rgb{132, 64, 33}}};
    wexbury::RgbImage image;
    ASSERT_EQ(Decode(MakeBmp(p, 16), image), BmpError::None);
    EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{255, 255, 255}));  // 31 -> 255, not 248
    EXPECT_EQ(PixelOf(image, 1, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelOf(image, 2, 0), (Rgb{8, 16, 255}));   // 1 -> 8, 2 -> 16, 31 -> 255
    EXPECT_EQ(PixelOf(image, 3, 0), (Rgb{132, 66, 33}));  // 16 -> 132, 8 -> 66, 4 -> 33

    // The top bit of a 5-5-5 pixel is unused; it must not leak into red.
    auto f = MakeBmp(Picture{1, 1, {Rgb{0, 0, 0}}}, 16);
    f[54 + 1] |= 0x80;
    ASSERT_EQ(Decode(f, image), BmpError::None);
    EXPECT_EQ(PixelOf(image, 0, 0), (Rgb{0, 0, 0}));
}

TEST(WexburyBmpReader, TopDownRowsWhenTheHeightIsNegative) {
    // Taller than one band of rows, so the bands come in the right order too.
    const Picture p = TestPicture(5, 37);
    for (int bits : {8, 24, 32}) {
        const auto pal = Palette(256);
        const Picture q = bits == 8 ? PalettePicture(5, 37, pal) : p;
        wexbury::RgbImage image;
        ASSERT_EQ(Decode(MakeBmp(q, bits, pal, /*topDown=*/true), image), BmpError::None);
        ExpectPicture(image, q);
    }
}

TEST(WexburyBmpReader, HonoursPixelOffsetAndLongerHeaders) {
    // A 124-byte header and a gap before the pixels: both come from the headers, not assumptions.
    const Picture p = TestPicture(3, 2);
    const auto f = MakeBmp(p, 24);
    const size_t extra = 84 + 10;  // rest of the header, then a gap
    std::vector<uint8_t> longer(f.size() + extra, 0xAB);
    std::copy(f.data(), f.data() + 54, longer.data());
    std::copy(f.data() + 54, f.data() + f.size(), longer.data() + 54 + extra);
    Put32(longer, 14, 124);
    Put32(longer, 10, 54 + 84 + 10);
    wexbury::RgbImage image;
    ASSERT_EQ(Decode(longer, image), BmpError::None);
    ExpectPicture(image, p);
}

TEST(WexburyBmpReader, ShortColourTableReadsMissingEntriesAsBlack) {
    const auto pal = Palette(4);
    Picture p{3, 1, {pal[0], pal[1], pal[3]}};
    auto f = MakeBmp(p, 8, pal);
    Put32(f, 46, 2);  // biClrUsed: only two entries are meant
    wexbury::RgbImage image;
    ASSERT_EQ(Decode(f, image), BmpError::None);
    EXPECT_EQ(PixelOf(image, 0, 0), pal[0]);
    EXPECT_EQ(PixelOf(image, 1, 0), pal[1]);
    EXPECT_EQ(PixelOf(image, 2, 0), (Rgb{0, 0, 0}));
}

TEST(WexburyBmpReader, TruncatedAnywhereIsRefused) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        const auto pal = Palette(bits <= 8 ? 1 << bits : 0);
        const auto full =
            MakeBmp(bits <= 8 ? PalettePicture(6, 3, pal) : TestPicture(6, 3), bits, pal);
        ASSERT_EQ(Decode(full), BmpError::None);
        // Every length short of the whole: inside the file header, the info header, the colour
        // table and the last row.
        for (size_t len = 0; len < full.size(); ++len) {
            const std::vector<uint8_t> cut(full.begin(), full.begin() + len);
            EXPECT_NE(Decode(cut), BmpError::None) << bits << " bits cut at " << len;
        }
    }
}

TEST(WexburyBmpReader, HeadersThatLieAreRefused) {
    const auto good = MakeBmp(TestPicture(4, 4), 24);
    auto with = [&](size_t at, uint32_t value, bool wide = true) {
        auto f = good;
        if (wide)
            Put32(f, at, value);
        else
            Put16(f, at, value);
        return Decode(f);
    };
    EXPECT_EQ(with(0, 'X', false), BmpError::NotBmp);
    EXPECT_EQ(with(10, 1u << 30), BmpError::Truncated);     // pixels past the end
    EXPECT_EQ(with(10, 20), BmpError::NotBmp);              // pixels inside the headers
    EXPECT_EQ(with(14, 12), BmpError::Unsupported);         // core header
    EXPECT_EQ(with(14, 0xFFFFFFF0u), BmpError::Truncated);  // header longer than the file
    EXPECT_EQ(with(18, 0), BmpError::BadDimensions);
    EXPECT_EQ(with(18, uint32_t(-4)), BmpError::BadDimensions);  // negative width
    EXPECT_EQ(with(22, 0), BmpError::BadDimensions);
    EXPECT_EQ(with(22, 0x80000000u), BmpError::BadDimensions);  // -2^31 has no magnitude
    EXPECT_EQ(with(18, 70000), BmpError::BadDimensions);        // wider than a JPEG frame
    EXPECT_EQ(with(22, 5), BmpError::Truncated);                // one row more than stored
    EXPECT_EQ(with(26, 2, false), BmpError::Unsupported);       // planes
    for (uint32_t bits : {0u, 2u, 15u, 48u, 64u})
        EXPECT_EQ(with(28, bits, false), BmpError::Unsupported) << bits;
    for (uint32_t compression : {1u, 2u, 3u, 4u, 5u})  // RLE8, RLE4, bit fields, JPEG, PNG
        EXPECT_EQ(with(30, compression), BmpError::Unsupported) << compression;
}

TEST(WexburyBmpReader, AbsurdSizesFailBeforeAllocating) {
    // 60000 x 60000 fits the side limit, but the pixel cap (and the file) say no; overflow of
    // width * height * depth must not wrap into a small number.
    auto f = MakeBmp(TestPicture(1, 1), 32);
    Put32(f, 18, 60000);
    Put32(f, 22, 60000);
    EXPECT_EQ(Decode(f), BmpError::BadDimensions);
    Put32(f, 18, 65535);
    Put32(f, 22, 2000);  // under the cap: refused only because the file lacks the rows
    EXPECT_EQ(Decode(f), BmpError::Truncated);
}

TEST(WexburyBmpReader, MissingFileCannotOpen) {
    wexbury::RgbImage image;
    EXPECT_EQ(wexbury::ReadBmpFile("/nonexistent/dir/none.bmp", image), BmpError::CannotOpen);
}

}  // namespace
