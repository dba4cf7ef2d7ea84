// The reduced view's area average against an independent computation of the same average (each
// target pixel's square laid over the source grid in real numbers).
#include "editor/area_average.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

struct Picture {
    int width, height;
    std::vector<uint8_t> bytes;  // 4 a pixel, top row first
    uint8_t* Row(int y) { return bytes.data() + size_t(y) * width * 4; }
};

class Rows : public AreaAverage::SourceRows {
public:
    explicit Rows(Picture& p) : picture_(p) {}
    const uint8_t* Row(int y) override {
        EXPECT_GE(y, 0);
        EXPECT_LT(y, picture_.height);
        return picture_.Row(y);
    }

private:
    Picture& picture_;
};

Picture Reduce(Picture& source, int width, int height) {
    Picture out{width, height, std::vector<uint8_t>(size_t(width) * height * 4, 0xCD)};
    Rows rows(source);
    EXPECT_TRUE(AreaAverage::Reduce(rows, source.width, source.height, out.bytes.data(), width * 4,
                                    width, height));
    return out;
}

// The exact average of channel c under target pixel (tx, ty).
double ExactAverage(Picture& p, int width, int height, int tx, int ty, int c) {
    const double sx = double(p.width) / width, sy = double(p.height) / height;
    const double x0 = tx * sx, x1 = (tx + 1) * sx, y0 = ty * sy, y1 = (ty + 1) * sy;
    double sum = 0;
    for (int y = int(std::floor(y0)); y < int(std::ceil(y1)); ++y)
        for (int x = int(std::floor(x0)); x < int(std::ceil(x1)); ++x) {
            const double cover = (std::min(x1, x + 1.0) - std::max(x0, double(x))) *
                                 (std::min(y1, y + 1.0) - std::max(y0, double(y)));
            sum += cover * p.Row(y)[4 * x + c];
        }
    return sum / (sx * sy);
}

Picture Noise(int width, int height, unsigned seed) {
    std::mt19937 rng(seed);
    Picture p{width, height, std::vector<uint8_t>(size_t(width) * height * 4)};
    for (uint8_t& b : p.bytes) b = uint8_t(rng());
    return p;
}

// Largest difference from the exact average, over every pixel and channel.
double WorstError(Picture& source, int width, int height) {
    Picture out = Reduce(source, width, height);
    double worst = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c)
                worst = std::max(worst, std::fabs(out.Row(y)[4 * x + c] -
                                                  ExactAverage(source, width, height, x, y, c)));
    return worst;
}

TEST(AreaAverage, OnePixelCheckerboardBecomesFlatGreyAtHalf) {
    Picture board{64, 48, std::vector<uint8_t>(64 * 48 * 4)};
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            std::fill_n(board.Row(y) + 4 * x, 4, uint8_t((x + y) % 2 ? 255 : 0));
    Picture half = Reduce(board, 32, 24);
    for (uint8_t v : half.bytes) ASSERT_TRUE(v == 127 || v == 128) << int(v);
    // Whatever the ratio, no pixel comes out as a surviving black or white column.
    Picture third = Reduce(board, 21, 16);
    for (uint8_t v : third.bytes) ASSERT_TRUE(v > 90 && v < 165) << int(v);
}

TEST(AreaAverage, EdgePixelsCountByTheirCoverage) {
    // Three source pixels into two: the first target covers pixel 0 whole and half of pixel 1.
    Picture p{3, 1, {0, 0, 0, 0, 255, 255, 255, 255, 30, 60, 90, 120}};
    Picture out = Reduce(p, 2, 1);
    EXPECT_EQ(out.bytes[0], 85);                              // (0 + 255 / 2) / 1.5
    EXPECT_EQ(out.bytes[4], uint8_t(std::lround((127.5 + 30) / 1.5)));  // half of 255, all of 30
    EXPECT_EQ(out.bytes[7], uint8_t(std::lround((127.5 + 120) / 1.5)));
}

// Rounding to a level costs up to half a level; the 1/4096 weights add a little at the zoom's
// ratios (down to 10 %), more only far below them.
TEST(AreaAverage, WithinALevelOfTheExactAverageDownToATenth) {
    Picture noise = Noise(120, 90, 5);
    const int sizes[][2] = {{60, 45}, {40, 30}, {12, 9}, {119, 89}, {61, 44}, {13, 10}};
    for (auto [w, h] : sizes) EXPECT_LE(WorstError(noise, w, h), 0.6) << w << "x" << h;
    Picture odd = Noise(101, 37, 6);
    EXPECT_LE(WorstError(odd, 33, 12), 0.6);
    EXPECT_LE(WorstError(odd, 10, 4), 0.6);
    EXPECT_LE(WorstError(noise, 1, 1), 1.0);  // 10800 pixels into one
}

TEST(AreaAverage, FlatStaysExactlyFlat) {
    Picture flat{97, 53, std::vector<uint8_t>(97 * 53 * 4)};
    for (size_t i = 0; i < flat.bytes.size(); ++i) flat.bytes[i] = uint8_t(i % 4 == 0 ? 255 : 17 * (i % 4));
    for (auto [w, h] : {std::pair{48, 26}, {31, 17}, {9, 5}, {96, 52}}) {
        Picture out = Reduce(flat, w, h);
        for (size_t i = 0; i < out.bytes.size(); ++i)
            ASSERT_EQ(out.bytes[i], flat.bytes[i % 4]) << w << "x" << h;
    }
}

TEST(AreaAverage, SimdAndPortableAgreeExactly) {
    const AreaAverage::AcrossFn across = AreaAverage::AcrossSse2();
    const AreaAverage::DownFn down = AreaAverage::DownSse2();
    if (!across || !down) GTEST_SKIP() << "no SSE2 in this build";
    Picture noise = Noise(334, 12, 9);
    for (int width : {167, 166, 111, 100, 33, 7, 1, 334}) {  // 167: the exact half's own path
        const AreaAverage::Axis axis = AreaAverage::MakeAxis(334, width);
        const size_t lanes = size_t(width) * 4;
        std::vector<std::vector<int16_t>> a(12, std::vector<int16_t>(lanes)), b = a;
        for (int y = 0; y < 12; ++y) {
            AreaAverage::AcrossPortable(noise.Row(y), axis, width, a[size_t(y)].data());
            across(noise.Row(y), axis, width, b[size_t(y)].data());
            ASSERT_EQ(a[size_t(y)], b[size_t(y)]) << width;
        }
        for (int rows : {1, 2, 3, 11, 12}) {
            const AreaAverage::Axis axisDown = AreaAverage::MakeAxis(rows, 1);
            std::vector<const int16_t*> pointers;
            for (int y = 0; y < rows; ++y) pointers.push_back(a[size_t(y)].data());
            std::vector<uint8_t> x(lanes), z(lanes);
            AreaAverage::DownPortable(pointers.data(), axisDown.weight.data(), rows, int(lanes), x.data());
            down(pointers.data(), axisDown.weight.data(), rows, int(lanes), z.data());
            EXPECT_EQ(x, z) << width << " across, " << rows << " down";
        }
    }
}

}  // namespace
