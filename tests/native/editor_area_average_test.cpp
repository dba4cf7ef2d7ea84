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

class PictureRows : public AreaAverage::SourceRows {
public:
    explicit PictureRows(Picture& p) : picture_(p) {}
    const uint8_t* Rows(int y, int count, ptrdiff_t* stride) override {
        EXPECT_GE(y, 0);
        EXPECT_GE(count, 1);
        EXPECT_LE(count, AreaAverage::kMostRowsAtOnce);
        EXPECT_LE(y + count, picture_.height);
        *stride = ptrdiff_t(picture_.width) * 4;
        return picture_.Row(y);
    }

private:
    Picture& picture_;
};

Picture Reduce(Picture& source, int width, int height) {
    Picture out{width, height, std::vector<uint8_t>(size_t(width) * height * 4, 0xCD)};
    PictureRows rows(source);
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
        // Two rows weighted unequally (two thirds and one third), as most target rows from 60 % up.
        const AreaAverage::Axis thirds = AreaAverage::MakeAxis(3, 2);
        ASSERT_EQ(thirds.offset[1] - thirds.offset[0], 2);
        ASSERT_NE(thirds.weight[0], thirds.weight[1]);
        for (int pair = 0; pair + 1 < 12; pair += 5) {
            const int16_t* two[2] = {a[size_t(pair)].data(), a[size_t(pair + 1)].data()};
            std::vector<uint8_t> x(lanes), z(lanes);
            AreaAverage::DownPortable(two, thirds.weight.data(), 2, int(lanes), x.data());
            down(two, thirds.weight.data(), 2, int(lanes), z.data());
            EXPECT_EQ(x, z) << width << " across, two unequal rows";
        }
    }
}

// The exact 2 x 2 and 3 x 3 blocks: each target pixel the mean of its block, rounded to nearest
// (halves up), whatever the width left over after the four-pixel steps.
TEST(AreaAverage, ExactHalvesAndThirdsAreTheRoundedMeanOfTheirBlock) {
    struct Case { int width, height, factor; };
    for (const Case& k : {Case{13, 7, 2}, Case{1, 1, 2}, Case{4, 3, 2}, Case{6, 2, 2}, Case{13, 5, 3},
                          Case{1, 1, 3}, Case{8, 2, 3}, Case{7, 3, 3}}) {
        Picture source = Noise(k.width * k.factor, k.height * k.factor, unsigned(k.width * 31 + k.factor));
        Picture out = Reduce(source, k.width, k.height);
        const int area = k.factor * k.factor;
        for (int y = 0; y < k.height; ++y)
            for (int x = 0; x < 4 * k.width; ++x) {
                int sum = 0;
                for (int dy = 0; dy < k.factor; ++dy)
                    for (int dx = 0; dx < k.factor; ++dx)
                        sum += source.Row(k.factor * y + dy)[4 * (k.factor * (x / 4) + dx) + x % 4];
                ASSERT_EQ(out.Row(y)[x], (sum + area / 2) / area)
                    << k.width << "x" << k.height << " / " << k.factor << " at " << x << "," << y;
            }
    }
}

// Whole ratios from 4 to 16 on both axes: each target pixel the rounded mean of its block too,
// through the rows summed down and the columns added across, at odd widths and heights.
TEST(AreaAverage, WholeRatiosUpToSixteenAreTheRoundedMeanOfTheirBlock) {
    for (int factor : {4, 5, 7, 10, 16}) {
        for (auto [width, height] : {std::pair{3, 2}, std::pair{1, 1}, std::pair{9, 1}}) {
            Picture source = Noise(width * factor, height * factor, unsigned(factor * 100 + width));
            Picture out = Reduce(source, width, height);
            const int area = factor * factor;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < 4 * width; ++x) {
                    int sum = 0;
                    for (int dy = 0; dy < factor; ++dy)
                        for (int dx = 0; dx < factor; ++dx)
                            sum += source.Row(factor * y + dy)[4 * (factor * (x / 4) + dx) + x % 4];
                    ASSERT_EQ(out.Row(y)[x], (sum + area / 2) / area) << factor << ": " << x << "," << y;
                }
        }
        // A white block stays white: the largest sum, 16 x 16 x 255, still fits the 16-bit lanes.
        Picture white{2 * factor, factor, std::vector<uint8_t>(size_t(2 * factor) * factor * 4, 255)};
        for (uint8_t v : Reduce(white, 2, 1).bytes) ASSERT_EQ(v, 255) << factor;
    }
}

// The division by the block's area as a multiplication: right for every sum a block can reach,
// and the SIMD steps' sums down and across the portable ones'.
TEST(AreaAverage, WholeRatioSumsAndTheirDivisionAreExact) {
    for (uint32_t factor = 2; factor <= uint32_t(AreaAverage::kMostWholeFactor); ++factor) {
        const uint32_t area = factor * factor;
        const uint32_t reciprocal = AreaAverage::ReciprocalOf(area);
        for (uint32_t sum = 0; sum <= area * 255; ++sum)
            ASSERT_EQ(AreaAverage::RoundedMean(sum, area, reciprocal), (sum + area / 2) / area) << sum << " / " << area;
    }
    const AreaAverage::AddRowFn add = AreaAverage::AddRowSse2();
    const AreaAverage::FinishRowFn finish = AreaAverage::FinishRowSse2();
    if (!add || !finish) GTEST_SKIP() << "no SSE2 in this build";
    Picture noise = Noise(16 * 7, 16, 77);
    for (int factor : {4, 5, 16}) {
        for (int width : {1, 2, 7 * 16 / factor}) {
            const int lanes = 4 * factor * width;
            std::vector<uint16_t> a(size_t(lanes), 0), b = a;
            for (int y = 0; y < factor; ++y) {
                AreaAverage::AddRowPortable(noise.Row(y), lanes, a.data());
                add(noise.Row(y), lanes, b.data());
            }
            ASSERT_EQ(a, b) << factor << " x " << width;
            std::vector<uint8_t> x(size_t(width) * 4), z(x.size());
            AreaAverage::FinishRowPortable(a.data(), factor, width, x.data());
            finish(a.data(), factor, width, z.data());
            EXPECT_EQ(x, z) << factor << " x " << width;
        }
    }
}

// The halves' own path gives exactly what the weighted steps give at that ratio.
TEST(AreaAverage, ExactHalvesMatchTheWeightedSteps) {
    Picture source = Noise(2 * 11, 2 * 3, 21);
    Picture out = Reduce(source, 11, 3);
    const AreaAverage::Axis across = AreaAverage::MakeAxis(22, 11), down = AreaAverage::MakeAxis(6, 3);
    for (int t = 0; t < 3; ++t) {
        std::vector<int16_t> a(44), b(44);
        AreaAverage::AcrossPortable(source.Row(2 * t), across, 11, a.data());
        AreaAverage::AcrossPortable(source.Row(2 * t + 1), across, 11, b.data());
        const int16_t* rows[2] = {a.data(), b.data()};
        std::vector<uint8_t> weighted(44);
        AreaAverage::DownPortable(rows, down.weight.data() + down.offset[size_t(t)], 2, 44, weighted.data());
        EXPECT_EQ(weighted, std::vector<uint8_t>(out.Row(t), out.Row(t) + 44)) << "row " << t;
    }
}

// Every block sum a third can meet (0 to 9 x 255), through the SIMD division by nine and the
// portable one, with widths that leave each remainder of the four-pixel steps.
TEST(AreaAverage, SimdAndPortableBlocksAgreeOnEverySum) {
    const AreaAverage::BlockRowFn third = AreaAverage::ThirdRowSse2(), halve = AreaAverage::HalveRowSse2();
    if (!third || !halve) GTEST_SKIP() << "no SSE2 in this build";
    constexpr int kSums = 9 * 255 + 1, kTargets = (kSums + 3) / 4;
    std::vector<std::vector<uint8_t>> rows(3, std::vector<uint8_t>(size_t(kTargets) * 12 * 4));
    for (int n = 0; n < kSums; ++n) {
        const int pixel = n / 4, channel = n % 4;
        for (int i = 0; i < 9; ++i)  // n spread over the block's nine values
            rows[size_t(i / 3)][size_t(4 * (3 * pixel + i % 3) + channel)] = uint8_t(n / 9 + (i < n % 9 ? 1 : 0));
    }
    const uint8_t* pointers[3] = {rows[0].data(), rows[1].data(), rows[2].data()};
    for (int width : {kTargets, 1, 2, 3, 5, 6, 7}) {
        std::vector<uint8_t> simd(size_t(width) * 4), portable(simd.size());
        third(pointers, width, simd.data());
        AreaAverage::ThirdRowPortable(pointers, width, portable.data());
        ASSERT_EQ(simd, portable) << "third, width " << width;
        halve(pointers, width, simd.data());
        AreaAverage::HalveRowPortable(pointers, width, portable.data());
        ASSERT_EQ(simd, portable) << "half, width " << width;
    }
    std::vector<uint8_t> out(size_t(kTargets) * 4);
    third(pointers, kTargets, out.data());
    for (int n = 0; n < kSums; ++n) ASSERT_EQ(out[size_t(n)], (n + 4) / 9) << "sum " << n;
}

}  // namespace
