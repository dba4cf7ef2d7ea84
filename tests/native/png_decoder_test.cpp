// Our PNG decoder on files written by libpng in every colour type, depth and interlacing, and on
// our own encoder's files; damaged files and huge claims are refused.
#include "imagefile/png_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "imagefile/image_file_check.h"
#include "imagefile/png_encoder.h"
#include "png_test_support.h"

namespace {

using PngDecoder::Status;
using Rows = std::vector<std::vector<uint8_t>>;

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

Rgb PixelAt(const PngDecoder::Image& image, int x, int y) {
    const uint8_t* p = &image.pixels[(size_t(y) * image.width + x) * 4];
    return {p[2], p[1], p[0]};
}

PngDecoder::Image MustDecode(const std::vector<uint8_t>& file) {
    PngDecoder::Image image;
    EXPECT_EQ(PngDecoder::Decode(file.data(), file.size(), image), Status::kDecoded);
    return image;
}

// Expects every pixel to be `expected(x, y)`.
template <typename Expected>
void ExpectPixels(const PngDecoder::Image& image, int width, int height, Expected expected) {
    ASSERT_EQ(image.width, width);
    ASSERT_EQ(image.height, height);
    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!(PixelAt(image, x, y) == expected(x, y)) && ++wrong < 4)
                ADD_FAILURE() << "pixel " << x << "," << y;
}

class EachInterlacing : public ::testing::TestWithParam<bool> {};

TEST_P(EachInterlacing, GrayOfEveryDepthScalesToEightBits) {
    const bool interlaced = GetParam();
    const int width = 19, height = 11;
    for (int depth : {1, 2, 4, 8, 16}) {
        SCOPED_TRACE("depth " + std::to_string(depth));
        const int maximum = (1 << depth) - 1;
        auto sample = [&](int x, int y) { return (x * 7 + y * 3) % (maximum + 1); };
        Rows rows(height);
        for (int y = 0; y < height; ++y) {
            rows[y].assign((size_t(width) * depth + 7) / 8, 0);
            for (int x = 0; x < width; ++x) {
                const int v = sample(x, y);
                if (depth == 16) {
                    rows[y][x * 2] = uint8_t(v >> 8);
                    rows[y][x * 2 + 1] = uint8_t(v);
                } else {
                    const int bit = x * depth;
                    rows[y][bit / 8] |= uint8_t(v << (8 - depth - bit % 8));
                }
            }
        }
        const auto file = PngTest::EncodeWithLibpng(width, height, depth, PNG_COLOR_TYPE_GRAY, rows, interlaced);
        ExpectPixels(MustDecode(file), width, height, [&](int x, int y) {
            const int v = sample(x, y);
            const uint8_t g = depth == 16 ? uint8_t(v >> 8) : uint8_t(v * 255 / maximum);
            return Rgb{g, g, g};
        });
    }
}

TEST_P(EachInterlacing, RgbAndSixteenBitRgbKeepTheirHighBytes) {
    const bool interlaced = GetParam();
    const int width = 23, height = 9;
    auto color = [](int x, int y) { return Rgb{uint8_t(x * 11), uint8_t(y * 27), uint8_t(x * y)}; };
    Rows rgb8(height), rgb16(height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb c = color(x, y);
            rgb8[y].insert(rgb8[y].end(), {c.r, c.g, c.b});
            // The low bytes differ from the high ones: only the high byte may show.
            rgb16[y].insert(rgb16[y].end(), {c.r, uint8_t(x), c.g, uint8_t(0xFF), c.b, uint8_t(y * 40)});
        }
    ExpectPixels(MustDecode(PngTest::EncodeWithLibpng(width, height, 8, PNG_COLOR_TYPE_RGB, rgb8, interlaced)),
                 width, height, color);
    ExpectPixels(MustDecode(PngTest::EncodeWithLibpng(width, height, 16, PNG_COLOR_TYPE_RGB, rgb16, interlaced)),
                 width, height, color);
}

TEST_P(EachInterlacing, TranslucentPixelsLieOverWhite) {
    const bool interlaced = GetParam();
    const int width = 4, height = 2;
    // Opaque red, transparent, half-covered black, and a 16-bit gray-alpha pixel.
    Rows rgba = {{255, 0, 0, 255, 10, 20, 30, 0, 0, 0, 0, 128, 0, 255, 0, 255},
                 {0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255}};
    ExpectPixels(MustDecode(PngTest::EncodeWithLibpng(width, height, 8, PNG_COLOR_TYPE_RGBA, rgba, interlaced)),
                 width, height, [](int x, int y) {
                     if (y == 1) return Rgb{0, 0, 255};
                     const Rgb first[4] = {{255, 0, 0}, {255, 255, 255}, {127, 127, 127}, {0, 255, 0}};
                     return first[x];
                 });
    Rows grayAlpha16 = {{0x20, 0x00, 0xFF, 0xFF, 0x20, 0x00, 0x00, 0x00}};
    ExpectPixels(MustDecode(PngTest::EncodeWithLibpng(2, 1, 16, PNG_COLOR_TYPE_GRAY_ALPHA, grayAlpha16, interlaced)),
                 2, 1, [](int x, int) { return x == 0 ? Rgb{0x20, 0x20, 0x20} : Rgb{255, 255, 255}; });
}

TEST_P(EachInterlacing, PalettesWithTransparencyAndKeyedRgb) {
    const bool interlaced = GetParam();
    const std::vector<png_color> palette = {{0, 0, 0}, {200, 10, 10}, {10, 200, 10}, {10, 10, 200}};
    const std::vector<uint8_t> alpha = {255, 0};  // entry 1 transparent; the rest opaque
    Rows rows(5);
    for (int y = 0; y < 5; ++y) rows[y] = {uint8_t(0x1B), uint8_t(0x1B << (y % 3))};  // 2 bits a pixel
    for (auto& row : rows) row.resize(2);
    const auto file =
        PngTest::EncodeWithLibpng(7, 5, 2, PNG_COLOR_TYPE_PALETTE, rows, interlaced, palette, alpha);
    const PngDecoder::Image image = MustDecode(file);
    ExpectPixels(image, 7, 5, [&](int x, int y) {
        const int index = (rows[y][x / 4] >> (6 - 2 * (x % 4))) & 3;
        if (index == 1) return Rgb{255, 255, 255};
        return Rgb{palette[index].red, palette[index].green, palette[index].blue};
    });

    png_color_16 key{};
    key.red = 1;
    key.green = 2;
    key.blue = 3;
    Rows keyed = {{1, 2, 3, 1, 2, 4}};
    ExpectPixels(MustDecode(PngTest::EncodeWithLibpng(2, 1, 8, PNG_COLOR_TYPE_RGB, keyed, interlaced, {}, {}, &key)),
                 2, 1, [](int x, int) { return x == 0 ? Rgb{255, 255, 255} : Rgb{1, 2, 4}; });
}

INSTANTIATE_TEST_SUITE_P(PngDecoder, EachInterlacing, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Interlaced" : "Progressive"; });

TEST(PngDecoder, OurOwnFilesComeBackExact) {
    for (const PngTest::Picture& p : {PngTest::WithColors(37, 21, 3, 9), PngTest::WithColors(64, 64, 200, 9),
                                      PngTest::Gradient(129, 65)}) {
        const auto file = PngEncoder::Encode(p.bgrx.data(), p.width, p.height, p.Stride());
        const PngDecoder::Image image = MustDecode(file);
        ExpectPixels(image, p.width, p.height, [&](int x, int y) {
            const uint8_t* q = &p.bgrx[(size_t(y) * p.width + x) * 4];
            return Rgb{q[2], q[1], q[0]};
        });
    }
}

TEST(PngDecoder, DamagedFilesAreRefusedWhereverTheDamageIs) {
    const PngTest::Picture p = PngTest::Gradient(80, 60);
    const auto good = PngEncoder::Encode(p.bgrx.data(), p.width, p.height, p.Stride());
    PngDecoder::Image image;
    image.width = 5;
    // Cut short anywhere: in the signature, the header, the pixel data, before the end chunk.
    for (size_t cut : {size_t(4), size_t(20), size_t(40), good.size() / 2, good.size() - 12, good.size() - 1}) {
        const std::vector<uint8_t> cutShort(good.begin(), good.begin() + long(cut));
        EXPECT_EQ(PngDecoder::Decode(cutShort.data(), cutShort.size(), image), Status::kNotPng) << cut;
    }
    // One bit flipped inside the pixel data: the chunk's CRC no longer matches.
    std::vector<uint8_t> flipped = good;
    flipped[good.size() / 2] ^= 0x10;
    EXPECT_EQ(PngDecoder::Decode(flipped.data(), flipped.size(), image), Status::kNotPng);
    EXPECT_EQ(image.width, 5) << "a refused file changed the image";
    EXPECT_EQ(PngDecoder::Decode(nullptr, 0, image), Status::kNotPng);
}

// A header alone, with its CRC: enough for the check that comes before any decoding.
std::vector<uint8_t> HeaderOnly(uint32_t width, uint32_t height) {
    std::vector<uint8_t> ihdr;
    for (uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) ihdr.push_back(uint8_t(v >> shift));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    const uint8_t start[16] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    std::vector<uint8_t> file;
    file.reserve(16 + 13 + 4);
    for (uint8_t b : start) file.push_back(b);
    for (uint8_t b : ihdr) file.push_back(b);
    const uint32_t crc = uint32_t(crc32(crc32(0, file.data() + 12, 4), ihdr.data(), 13));
    for (int shift = 24; shift >= 0; shift -= 8) file.push_back(uint8_t(crc >> shift));
    return file;
}

TEST(PngDecoder, HugeClaimsAreRefusedBeforeAnythingIsAllocated) {
    PngDecoder::Image image;
    for (auto [w, h] : {std::pair{7681u, 4320u}, {7680u, 4321u}, {40000u, 1u}, {0x7FFFFFFFu, 0x7FFFFFFFu}}) {
        const auto file = HeaderOnly(w, h);
        EXPECT_EQ(PngDecoder::Decode(file.data(), file.size(), image), Status::kTooLarge) << w << "x" << h;
        EXPECT_EQ(ImageFileCheck::Check(file.data(), file.size()).verdict, ImageFileCheck::Verdict::kTooLarge);
    }
    // The largest picture passes the check (and, having no pixel data, then fails to decode).
    auto largest = HeaderOnly(7680, 4320);
    const ImageFileCheck::Result r = ImageFileCheck::Check(largest.data(), largest.size());
    EXPECT_EQ(r.verdict, ImageFileCheck::Verdict::kFits);
    EXPECT_EQ(r.kind, ImageFileCheck::Kind::kPng);
    EXPECT_EQ(PngDecoder::Decode(largest.data(), largest.size(), image), Status::kNotPng);
    // Sizes of 0 and bit depths the format lacks are no pictures at all.
    for (auto file : {HeaderOnly(0, 5), HeaderOnly(5, 0), HeaderOnly(0x80000000u, 1)})
        EXPECT_EQ(ImageFileCheck::Check(file.data(), file.size()).verdict, ImageFileCheck::Verdict::kNotAnImage);
}

}  // namespace
