// Our PNG encoder, checked by libpng's decoder (exact pixels back) and by reading the file's
// structure directly: header, chunk CRCs, filter bytes.
#include "imagefile/png_encoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "png_test_support.h"

namespace {

using PngTest::Picture;

uint32_t BigEndian(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// CRC-32 bit by bit, as the format's definition gives it: independent of the table zlib uses.
uint32_t SlowCrc(const uint8_t* bytes, size_t size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
    bool crcMatches = false;
};

std::vector<Chunk> ChunksOf(const std::vector<uint8_t>& file) {
    std::vector<Chunk> chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t length = BigEndian(&file[at]);
        if (at + 12 + length > file.size()) break;
        Chunk c;
        c.type.assign(reinterpret_cast<const char*>(&file[at + 4]), 4);
        c.data.assign(file.begin() + long(at) + 8, file.begin() + long(at) + 8 + length);
        c.crcMatches = SlowCrc(&file[at + 4], 4 + size_t(length)) == BigEndian(&file[at + 8 + length]);
        chunks.push_back(c);
        at += 12 + length;
    }
    EXPECT_EQ(at, file.size()) << "bytes after the last whole chunk";
    return chunks;
}

// The filter-type byte of every row of a non-interlaced image.
std::vector<int> FilterBytes(const std::vector<uint8_t>& file, size_t rowBytes, int height) {
    std::vector<uint8_t> deflated;
    for (const Chunk& c : ChunksOf(file))
        if (c.type == "IDAT") deflated.insert(deflated.end(), c.data.begin(), c.data.end());
    std::vector<uint8_t> raw((rowBytes + 1) * size_t(height));
    uLongf size = uLongf(raw.size());
    EXPECT_EQ(uncompress(raw.data(), &size, deflated.data(), uLong(deflated.size())), Z_OK);
    EXPECT_EQ(size, raw.size());
    std::vector<int> types;
    for (int y = 0; y < height; ++y) types.push_back(raw[size_t(y) * (rowBytes + 1)]);
    return types;
}

void ExpectRoundTrip(const Picture& p, int colorType, int bitDepth, const PngEncoder::Options& options = {}) {
    const std::vector<uint8_t> file = PngEncoder::Encode(p.bgrx.data(), p.width, p.height, p.Stride(), options);
    const PngTest::Decoded d = PngTest::DecodeWithLibpng(file);
    ASSERT_TRUE(d.ok) << p.width << "x" << p.height;
    EXPECT_EQ(d.width, p.width);
    EXPECT_EQ(d.height, p.height);
    EXPECT_EQ(d.colorType, colorType) << p.width << "x" << p.height;
    EXPECT_EQ(d.bitDepth, bitDepth) << p.width << "x" << p.height;
    EXPECT_TRUE(d.rgb == p.Rgb()) << p.width << "x" << p.height << " pixels differ";
}

TEST(PngEncoder, PaletteImagesTakeTheSmallestDepthAndComeBackExact) {
    const struct { int colors, depth; } cases[] = {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 4}, {16, 4}, {17, 8}, {256, 8}};
    // Odd sizes: one pixel, one row, widths that end inside a byte at every depth.
    const struct { int width, height; } sizes[] = {{1, 1}, {33, 1}, {1, 33}, {7, 5}, {13, 9}, {61, 17}};
    for (const auto& c : cases)
        for (const auto& s : sizes) {
            if (s.width * s.height < c.colors) continue;
            SCOPED_TRACE(std::to_string(c.colors) + " colours");
            ExpectRoundTrip(PngTest::WithColors(s.width, s.height, c.colors, 7), 3, c.depth);
        }
}

TEST(PngEncoder, TheColourCountDecidesBetweenPaletteAndRgb) {
    ExpectRoundTrip(PngTest::WithColors(64, 64, 256, 1), 3, 8);
    ExpectRoundTrip(PngTest::WithColors(64, 64, 257, 1), 2, 8);
    // The unused fourth byte differs from pixel to pixel: it must not count as colour.
    Picture twoColors = PngTest::WithColors(40, 3, 2, 5);
    for (size_t i = 3; i < twoColors.bgrx.size(); i += 4) twoColors.bgrx[i] = uint8_t(i);
    ExpectRoundTrip(twoColors, 3, 1);
    // The palette holds just the colours used.
    const Picture p = PngTest::WithColors(20, 20, 5, 3);
    for (const Chunk& c : ChunksOf(PngEncoder::Encode(p.bgrx.data(), p.width, p.height, p.Stride())))
        if (c.type == "PLTE") {
            EXPECT_EQ(c.data.size(), 15u);
        }
}

TEST(PngEncoder, RgbImagesOfOddSizesComeBackExact) {
    for (const auto& s : {std::pair{1, 1}, {33, 1}, {1, 40}, {31, 17}, {250, 3}}) {
        Picture p = PngTest::Gradient(s.first, s.second);
        PngEncoder::Options rgbOnly;
        rgbOnly.allowPalette = false;  // so even one pixel goes the RGB way
        ExpectRoundTrip(p, 2, 8, rgbOnly);
    }
    ExpectRoundTrip(PngTest::Gradient(300, 200), 2, 8);
    // A stride wider than the row: the bytes past the row are never read as pixels.
    Picture wide = PngTest::Gradient(30, 10);
    std::vector<uint8_t> padded;
    for (int y = 0; y < 10; ++y) {
        padded.insert(padded.end(), wide.bgrx.begin() + y * 120, wide.bgrx.begin() + (y + 1) * 120);
        padded.insert(padded.end(), 8, uint8_t(0xAB));
    }
    const auto file = PngEncoder::Encode(padded.data(), 30, 10, 128);
    EXPECT_TRUE(PngTest::DecodeWithLibpng(file).rgb == wide.Rgb());
}

TEST(PngEncoder, EveryChunkIsWholeWithItsCrcAndInOrder) {
    for (const Picture& p : {PngTest::WithColors(100, 80, 12, 2), PngTest::Gradient(700, 500)}) {
        const std::vector<uint8_t> file = PngEncoder::Encode(p.bgrx.data(), p.width, p.height, p.Stride());
        ASSERT_GE(file.size(), 8u);
        EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 8),
                  (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
        const std::vector<Chunk> chunks = ChunksOf(file);
        ASSERT_GE(chunks.size(), 3u);
        for (const Chunk& c : chunks) EXPECT_TRUE(c.crcMatches) << c.type;
        EXPECT_EQ(chunks.front().type, "IHDR");
        EXPECT_EQ(chunks.front().data.size(), 13u);
        EXPECT_EQ(BigEndian(&chunks.front().data[0]), uint32_t(p.width));
        EXPECT_EQ(BigEndian(&chunks.front().data[4]), uint32_t(p.height));
        EXPECT_EQ(chunks.back().type, "IEND");
        EXPECT_TRUE(chunks.back().data.empty());
        // IDATs follow each other without anything between them.
        size_t first = 0, last = 0;
        for (size_t i = 0; i < chunks.size(); ++i)
            if (chunks[i].type == "IDAT") (first ? last : first) = i, last = i;
        for (size_t i = first; i <= last; ++i) EXPECT_EQ(chunks[i].type, "IDAT");
    }
}

TEST(PngEncoder, EachFilterTypeGivesAFileThatDecodes) {
    const Picture p = PngTest::Gradient(45, 12);
    for (int filter = 0; filter <= 4; ++filter) {
        SCOPED_TRACE("filter " + std::to_string(filter));
        PngEncoder::Options options;
        options.filter = filter;
        ExpectRoundTrip(p, 2, 8, options);
        const auto file = PngEncoder::Encode(p.bgrx.data(), p.width, p.height, p.Stride(), options);
        for (int type : FilterBytes(file, 45 * 3, 12)) EXPECT_EQ(type, filter);
        // Palette rows too (one byte a pixel and less).
        const Picture few = PngTest::WithColors(45, 12, 9, 4);
        ExpectRoundTrip(few, 3, 4, options);
    }
    PngEncoder::Options bad;
    bad.filter = 5;
    EXPECT_TRUE(PngEncoder::Encode(p.bgrx.data(), p.width, p.height, p.Stride(), bad).empty());
}

TEST(PngEncoder, EachRowOfAPhotographTakesTheFilterThatSuitsIt) {
    // A horizontal ramp repeated row after row: the first row is best as Sub (it has no row above),
    // the rows below it as Up (they equal the row above).
    Picture p{64, 6, {}};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 64; ++x) p.bgrx.insert(p.bgrx.end(), {uint8_t(x * 4), uint8_t(x * 2), uint8_t(x), 0});
    PngEncoder::Options rgbOnly;
    rgbOnly.allowPalette = false;
    rgbOnly.screenshotColors = 0;  // any colours at all make it a photograph
    const auto file = PngEncoder::Encode(p.bgrx.data(), 64, 6, p.Stride(), rgbOnly);
    EXPECT_EQ(FilterBytes(file, 64 * 3, 6), (std::vector<int>{1, 2, 2, 2, 2, 2}));
    EXPECT_TRUE(PngTest::DecodeWithLibpng(file).rgb == p.Rgb());
}

TEST(PngEncoder, ScreenshotsAreLeftUnfilteredPhotographsAreNot) {
    // 16384 colours (one a pixel) count as a screenshot; a colour more makes a photograph.
    Picture p = PngTest::Gradient(128, 128);
    for (int i = 0; i < 128 * 128; ++i) {
        p.bgrx[size_t(i) * 4] = uint8_t(i);
        p.bgrx[size_t(i) * 4 + 1] = uint8_t(i >> 8);
        p.bgrx[size_t(i) * 4 + 2] = uint8_t(i >> 1);  // smooth along rows
    }
    auto screenshot = PngEncoder::Encode(p.bgrx.data(), 128, 128, p.Stride());
    for (int type : FilterBytes(screenshot, 128 * 3, 128)) EXPECT_EQ(type, 0);
    EXPECT_TRUE(PngTest::DecodeWithLibpng(screenshot).rgb == p.Rgb());

    Picture more{128, 129, p.bgrx};
    more.bgrx.insert(more.bgrx.end(), p.bgrx.begin(), p.bgrx.begin() + 128 * 4);
    more.bgrx[more.bgrx.size() - 2] = 0x77;  // the last row: the first row again, one pixel changed
    const auto photograph = PngEncoder::Encode(more.bgrx.data(), 128, 129, more.Stride());
    int filtered = 0;
    for (int type : FilterBytes(photograph, 128 * 3, 129)) filtered += type != 0;
    EXPECT_GT(filtered, 64);
    EXPECT_TRUE(PngTest::DecodeWithLibpng(photograph).rgb == more.Rgb());
}

TEST(PngEncoder, BandsDeflatedAtOnceJoinIntoOneStreamOfTheSameRows) {
    // Rows repeating from band to band, so that the dictionary each band starts from matters.
    Picture p = PngTest::Gradient(97, 203);
    for (int y = 100; y < 203; ++y)
        std::copy(p.bgrx.begin() + (y - 100) * 97 * 4, p.bgrx.begin() + (y - 99) * 97 * 4, p.bgrx.begin() + y * 97 * 4);
    for (size_t screenshotColors : {size_t(0), size_t(1) << 14}) {  // filtered rows, then unfiltered
        PngEncoder::Options options;
        options.allowPalette = false;
        options.screenshotColors = screenshotColors;
        options.bands = 1;
        const auto whole = PngEncoder::Encode(p.bgrx.data(), p.width, p.height, p.Stride(), options);
        for (int bands : {2, 3, 4, 203, 500}) {
            SCOPED_TRACE(std::to_string(bands) + " bands");
            options.bands = bands;
            const auto file = PngEncoder::Encode(p.bgrx.data(), p.width, p.height, p.Stride(), options);
            ExpectRoundTrip(p, 2, 8, options);
            EXPECT_EQ(FilterBytes(file, 97 * 3, 203), FilterBytes(whole, 97 * 3, 203));
            // The cuts cost a few bytes a band, not the repeats across them.
            if (bands <= 4) {
                EXPECT_LT(file.size(), whole.size() + 64 * size_t(bands)) << file.size();
            }
        }
    }
}

TEST(PngEncoder, NoImageGivesNoFile) {
    const uint8_t pixel[4] = {1, 2, 3, 0};
    EXPECT_TRUE(PngEncoder::Encode(pixel, 0, 1, 4).empty());
    EXPECT_TRUE(PngEncoder::Encode(pixel, 1, 0, 4).empty());
    EXPECT_TRUE(PngEncoder::Encode(nullptr, 1, 1, 4).empty());
    EXPECT_EQ(PngEncoder::PaletteBitDepth(2), 1);
    EXPECT_EQ(PngEncoder::PaletteBitDepth(16), 4);
}

}  // namespace
