#include "wexbury/jpeg_encoder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/native/wexbury_test_support.h"
#include "wexbury/bmp_reader.h"

namespace {

using namespace wexbury_test;

wexbury::RgbImage ImageOf(const Picture& p) {
    const auto bmp = MakeBmp(p, 24);
    wexbury::RgbImage image;
    EXPECT_EQ(wexbury::DecodeBmp(bmp.data(), bmp.size(), image), wexbury::BmpError::None);
    return image;
}

std::vector<uint8_t> Encode(const Picture& p, wexbury::JpegOptions options) {
    wexbury::ByteSink sink;
    EXPECT_TRUE(wexbury::EncodeJpeg(ImageOf(p), options, sink));
    return std::vector<uint8_t>(sink.Data(), sink.Data() + sink.Size());
}

wexbury::JpegOptions Options(int quality, bool progressive = false, bool grayscale = false,
                             bool smoothing = false) {
    wexbury::JpegOptions o;
    o.quality = quality;
    o.progressive = progressive;
    o.grayscale = grayscale;
    o.smoothing = smoothing;
    return o;
}

// The frame marker: SOF0 (0xC0) or SOF2 (0xC2); 0 when there is none.
int FrameMarker(const std::vector<uint8_t>& jpeg) {
    for (size_t i = 2; i + 3 < jpeg.size();) {
        if (jpeg[i] != 0xFF) return 0;
        const int marker = jpeg[i + 1];
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return marker;
        i += 2 + (size_t(jpeg[i + 2]) << 8 | jpeg[i + 3]);
    }
    return 0;
}

// Plain rounding and plain chroma averaging: what the IJG encoder does, so the error must match.
wexbury::JpegOptions PlainOptions(int quality) {
    wexbury::JpegOptions o = Options(quality);
    o.rateDistortionLambda = 0;
    o.fitChroma = false;
    return o;
}

TEST(WexburyEncoder, QualityGivesLibjpegsSizeAndError) {
    const Picture p = TestPicture(256, 192, 3);
    double lastPsnr = 0;
    for (int quality : {10, 50, 75, 95}) {
        const auto ours = Encode(p, PlainOptions(quality));
        const auto theirs = EncodeWithLibjpeg(p, quality);
        const DecodedJpeg a = DecodeJpeg(ours), b = DecodeJpeg(theirs);
        ASSERT_TRUE(a.ok && b.ok);
        const double psnr = Psnr(a.picture, p);
        // Same tables and rounding as the reference: a wrong scale or table shows up here.
        EXPECT_NEAR(psnr, Psnr(b.picture, p), 0.15) << "quality " << quality;
        EXPECT_LE(double(ours.size()), theirs.size() * 1.02) << "quality " << quality;
        EXPECT_GT(psnr, lastPsnr);
        lastPsnr = psnr;
    }
}

// Detail in brightness, colour only in gentle gradients: chroma subsampling costs little, so the
// error is the quantiser's and tracks the quality.
Picture LumaDetailPicture(int w, int h) {
    Picture p = TestPicture(w, h, 5);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb& c = p.At(x, y);
            const int v = (c.r + c.g + c.b) / 3;
            c = Rgb{uint8_t(v * 3 / 4 + x % 64), uint8_t(v * 3 / 4 + 20),
                    uint8_t(v * 3 / 4 + y % 48)};
        }
    return p;
}

TEST(WexburyEncoder, PsnrFloorsPerQuality) {
    const Picture p = LumaDetailPicture(160, 120);
    const std::pair<int, double> floors[] = {{50, 33.0}, {75, 35.3}, {95, 39.5}};
    for (auto [quality, floor] : floors) {
        const DecodedJpeg d = DecodeJpeg(Encode(p, Options(quality)));
        ASSERT_TRUE(d.ok);
        EXPECT_FALSE(d.progressive);
        EXPECT_EQ(d.components, 3);
        EXPECT_GT(Psnr(d.picture, p), floor) << "quality " << quality;
    }
}

TEST(WexburyEncoder, QualityZeroActsAsOneAndOutOfRangeClamps) {
    const Picture p = TestPicture(40, 30);
    EXPECT_EQ(Encode(p, Options(0)), Encode(p, Options(1)));
    EXPECT_EQ(Encode(p, Options(-20)), Encode(p, Options(1)));
    EXPECT_EQ(Encode(p, Options(250)), Encode(p, Options(100)));
    EXPECT_NE(Encode(p, Options(1)), Encode(p, Options(2)));
}

TEST(WexburyEncoder, GrayscaleIsOneComponentOfLuma) {
    const Picture p = TestPicture(64, 48, 9);
    for (bool progressive : {false, true}) {
        const DecodedJpeg d = DecodeJpeg(Encode(p, Options(90, progressive, true)));
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.components, 1);
        EXPECT_GT(Psnr(d.picture, Luma(p)), 36.0);
    }
}

// Progressive sends the same quantised coefficients in pieces: once all scans are in, the
// decoder must produce exactly the baseline picture.
TEST(WexburyEncoder, ProgressiveDecodesToTheBaselinePicture) {
    const Picture pictures[] = {TestPicture(203, 77, 2), TestPicture(512, 512, 4)};
    for (const Picture& p : pictures)
        for (bool gray : {false, true})
            for (int quality : {30, 75, 100}) {
                const auto progressive = Encode(p, Options(quality, true, gray));
                const auto baseline = Encode(p, Options(quality, false, gray));
                EXPECT_EQ(FrameMarker(progressive), 0xC2);
                EXPECT_EQ(FrameMarker(baseline), 0xC0);
                const DecodedJpeg a = DecodeJpeg(progressive), b = DecodeJpeg(baseline);
                ASSERT_TRUE(a.ok && b.ok) << p.width << " gray " << gray << " q " << quality;
                EXPECT_TRUE(a.progressive);
                EXPECT_TRUE(a.picture.pixels == b.picture.pixels)
                    << p.width << " gray " << gray << " q " << quality;
            }
}

TEST(WexburyEncoder, LongFlatStretchesOverflowTheEndOfBandRun) {
    // Over 32767 blocks that are all flat: the end-of-band run must be split, not wrap.
    Picture p{1608, 1304, std::vector<Rgb>(size_t(1608) * 1304, Rgb{30, 60, 90})};
    p.At(1000, 1000) = Rgb{255, 255, 255};
    for (bool gray : {false, true}) {
        const DecodedJpeg a = DecodeJpeg(Encode(p, Options(75, true, gray)));
        const DecodedJpeg b = DecodeJpeg(Encode(p, Options(75, false, gray)));
        ASSERT_TRUE(a.ok && b.ok);
        EXPECT_TRUE(a.picture.pixels == b.picture.pixels);
    }
}

TEST(WexburyEncoder, TinyAndOddSizesInEveryMode) {
    const std::pair<int, int> sizes[] = {{1, 1},   {2, 1},   {1, 2},   {3, 2},   {8, 8},   {9, 9},
                                         {15, 16}, {16, 15}, {17, 13}, {16, 16}, {33, 17}, {7, 31}};
    for (auto [w, h] : sizes) {
        // Smooth content, so the padding (and not the noise) decides the error at the edges.
        Picture p{w, h, std::vector<Rgb>(size_t(w) * h)};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                p.At(x, y) =
                    Rgb{uint8_t(40 + 5 * x), uint8_t(200 - 4 * y), uint8_t(90 + 2 * (x + y))};
        for (int mode = 0; mode < 4; ++mode) {
            const bool progressive = mode & 1, gray = mode & 2;
            const DecodedJpeg d = DecodeJpeg(Encode(p, Options(90, progressive, gray)));
            ASSERT_TRUE(d.ok) << w << "x" << h << " mode " << mode;
            EXPECT_EQ(d.width, w);
            EXPECT_EQ(d.height, h);
            EXPECT_GT(Psnr(d.picture, gray ? Luma(p) : p), 33.0)
                << w << "x" << h << " mode " << mode;
        }
    }
}

TEST(WexburyEncoder, SmoothingSoftensNoiseButKeepsThePicture) {
    const Picture p = TestPicture(128, 96, 11);
    const auto plain = Encode(p, Options(85));
    const auto smoothed = Encode(p, Options(85, false, false, true));
    EXPECT_LT(smoothed.size(), plain.size());
    const DecodedJpeg d = DecodeJpeg(smoothed);
    ASSERT_TRUE(d.ok);
    EXPECT_GT(Psnr(d.picture, p), 28.0);
    // A flat picture has nothing to smooth: the option must not shift its colour.
    const Picture flat{16, 16, std::vector<Rgb>(256, Rgb{10, 200, 99})};
    EXPECT_EQ(Encode(flat, Options(85, false, false, true)), Encode(flat, Options(85)));
}

// The smoothing filter written out plainly: each of the eight neighbours weighs 30/1024, the
// pixel the rest, borders repeated.
Picture SmoothedByHand(const Picture& p) {
    Picture out = p;
    auto channel = [](const Rgb& c, int i) { return i == 0 ? c.r : i == 1 ? c.g : c.b; };
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            int value[3];
            for (int i = 0; i < 3; ++i) {
                int neighbours = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (dx == 0 && dy == 0) continue;
                        const int nx = std::clamp(x + dx, 0, p.width - 1);
                        const int ny = std::clamp(y + dy, 0, p.height - 1);
                        neighbours += channel(p.At(nx, ny), i);
                    }
                const int centre = channel(p.At(x, y), i);
                value[i] = (centre * (65536 - 8 * 30 * 64) + neighbours * 30 * 64 + 32768) >> 16;
            }
            out.At(x, y) = Rgb{uint8_t(value[0]), uint8_t(value[1]), uint8_t(value[2])};
        }
    return out;
}

TEST(WexburyEncoder, SmoothingIsTheSameFilterAcrossRowBands) {
    // Bands of 16 rows reach the filter one after another; the rows either side of each band
    // boundary must see their true neighbours. Hard horizontal edges sit on those boundaries.
    Picture p = TestPicture(45, 53, 21);
    for (int y = 15; y < 53; y += 16)
        for (int x = 0; x < 45; ++x) p.At(x, y) = Rgb{uint8_t(x * 5), 0, 255};
    for (bool gray : {false, true})
        EXPECT_EQ(Encode(p, Options(80, false, gray, true)),
                  Encode(SmoothedByHand(p), Options(80, false, gray, false)));
}

}  // namespace
