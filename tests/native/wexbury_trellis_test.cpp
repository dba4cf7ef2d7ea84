// The rate-distortion rounding of the JPEG writer: what it may change in a block, that it finds
// the cheapest choice, and what the files it leads to look like to an independent decoder.
#include "wexbury/trellis_quantiser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "tests/native/wexbury_test_support.h"
#include "wexbury/bmp_reader.h"
#include "wexbury/chroma_fit.h"
#include "wexbury/chroma_fit_steps.h"
#include "wexbury/jpeg_encoder.h"
#include "wexbury/quant_tables.h"

namespace {

using namespace wexbury_test;
using wexbury::AcRateModel;
using wexbury::CoefBlock;

// A block as the DCT leaves it: `exact` values and their rounding.
struct TestBlock {
    float exact[64];
    CoefBlock block;
};

TestBlock RandomBlock(std::mt19937& rng, int nonzero, float spread) {
    TestBlock t{};
    std::uniform_real_distribution<float> small(-0.49f, 0.49f), value(-spread, spread);
    std::uniform_int_distribution<int> position(1, 63);
    for (float& e : t.exact) e = small(rng);
    t.exact[0] = 12.3f;
    for (int i = 0; i < nonzero; ++i) {
        float v = value(rng);
        if (std::fabs(v) < 0.6f) v = v < 0 ? -0.6f : 0.6f;
        t.exact[position(rng)] = v;
    }
    t.block.nonzero = 0;
    for (int k = 0; k < 64; ++k) {
        t.block.zz[k] = int16_t(std::lround(t.exact[k]));
        if (t.block.zz[k]) t.block.nonzero |= uint64_t(1) << k;
    }
    return t;
}

AcRateModel ModelOf(std::mt19937& rng) {
    AcRateModel model;
    for (int i = 0; i < 200; ++i) model.Count(RandomBlock(rng, 1 + i % 9, 4.0f).block);
    model.Refit();
    return model;
}

wexbury::TrellisWeights Weights(int quality, float lambda = wexbury::kDefaultLambdaScale) {
    uint16_t quant[64];
    wexbury::ScaledQuantTable(wexbury::QuantTableKind::Luma, quality, quant);
    return wexbury::MakeTrellisWeights(quant, quant, 1.0f, lambda);
}

TEST(WexburyTrellis, ValuesKeepTheirSignNeverGrowAndTheDcStays) {
    std::mt19937 rng(7);
    const AcRateModel model = ModelOf(rng);
    for (int quality : {30, 75, 95}) {
        for (int i = 0; i < 500; ++i) {
            TestBlock t = RandomBlock(rng, 1 + i % 40, i % 3 == 0 ? 200.0f : 6.0f);
            const CoefBlock before = t.block;
            wexbury::TrellisQuantise(t.exact, Weights(quality, 0.5f),
                                    wexbury::ScaledCosts(model, Weights(quality, 0.5f)), t.block);
            EXPECT_EQ(t.block.zz[0], before.zz[0]);
            for (int k = 1; k < 64; ++k) {
                const int a = t.block.zz[k], b = before.zz[k];
                ASSERT_LE(std::abs(a), std::abs(b)) << "position " << k;
                ASSERT_TRUE(a == 0 || (a > 0) == (b > 0)) << "position " << k;
                ASSERT_EQ(bool(t.block.nonzero >> k & 1), a != 0) << "position " << k;
            }
        }
    }
}

// Every combination of values between zero and the rounded one, tried one by one.
double BruteForceCost(const TestBlock& t, const wexbury::TrellisWeights& w,
                      const AcRateModel& model) {
    int positions[64], count = 0;
    for (int k = 1; k < 64; ++k)
        if (t.block.zz[k]) positions[count++] = k;
    double best = INFINITY;
    std::vector<int> choice(count, 0);
    for (;;) {
        CoefBlock b = t.block;
        for (int i = 0; i < count; ++i) {
            const int r = t.block.zz[positions[i]];
            b.zz[positions[i]] = int16_t(r > 0 ? choice[i] : -choice[i]);
        }
        best = std::min(best, wexbury::TrellisCost(t.exact, w, model, b));
        int i = 0;
        while (i < count && ++choice[i] > std::abs(t.block.zz[positions[i]])) choice[i++] = 0;
        if (i == count) return best;
    }
}

TEST(WexburyTrellis, FindsTheCheapestChoiceOfSmallBlocks) {
    std::mt19937 rng(11);
    const AcRateModel model = ModelOf(rng);
    for (float lambda : {0.02f, 0.075f, 0.5f}) {
        const wexbury::TrellisWeights w = Weights(75, lambda);
        for (int i = 0; i < 300; ++i) {
            // Values up to 2 and at most four of them: every choice is then one the search tries.
            TestBlock t = RandomBlock(rng, 1 + i % 4, 2.4f);
            const double exhaustive = BruteForceCost(t, w, model);
            const double rounded = wexbury::TrellisCost(t.exact, w, model, t.block);
            wexbury::TrellisQuantise(t.exact, w, wexbury::ScaledCosts(model, w), t.block);
            const double found = wexbury::TrellisCost(t.exact, w, model, t.block);
            EXPECT_NEAR(found, exhaustive, 1e-3 * (1 + exhaustive)) << "block " << i;
            EXPECT_LE(found, rounded + 1e-3);
        }
    }
}

TEST(WexburyTrellis, DropsALoneCheapToLoseValueButKeepsAnAccurateOne) {
    std::mt19937 rng(3);
    const AcRateModel model = ModelOf(rng);
    TestBlock t = RandomBlock(rng, 0, 1.0f);
    for (float& e : t.exact) e = 0;
    t.block = CoefBlock{};
    t.exact[0] = 5, t.block.zz[0] = 5;
    t.exact[40] = 0.51f, t.block.zz[40] = 1;  // a long run and a value barely worth 1
    t.block.nonzero = 1 | uint64_t(1) << 40;
    CoefBlock dropped = t.block;
    wexbury::TrellisQuantise(t.exact, Weights(75), wexbury::ScaledCosts(model, Weights(75)), dropped);
    EXPECT_EQ(dropped.zz[40], 0);
    EXPECT_EQ(dropped.nonzero, 1u);

    t.exact[40] = 1.0f;
    CoefBlock kept = t.block;
    wexbury::TrellisQuantise(t.exact, Weights(75, 0.001f),
                             wexbury::ScaledCosts(model, Weights(75, 0.001f)), kept);
    EXPECT_EQ(kept.zz[40], 1);
}

TEST(WexburyTrellis, RateModelPricesFrequentSymbolsLower) {
    AcRateModel model;
    CoefBlock eobOnly{};
    eobOnly.zz[0] = 3;
    eobOnly.nonzero = 1;
    for (int i = 0; i < 10000; ++i) model.Count(eobOnly);
    CoefBlock oneLate{};
    oneLate.zz[50] = 1;
    oneLate.nonzero = uint64_t(1) << 50;
    model.Count(oneLate);
    model.Refit();
    EXPECT_LT(model.SymbolBits(0x00), 0.1f);
    EXPECT_GT(model.SymbolBits(0x11), model.SymbolBits(0xF0));  // 0x11 seen once after 3 ZRLs
    EXPECT_GT(model.SymbolBits(0x35), model.SymbolBits(0x11));  // never seen
}

// The decoder's interpolation, written from its description: each output sample 3/4 of the
// nearest chroma sample and 1/4 of the next one over, in each direction; edges repeat.
double InterpolationError(const std::vector<float>& full, int w, int h,
                          const std::vector<float>& half) {
    const int hw = w / 2, hh = h / 2;
    auto at = [&](int x, int y) {
        x = std::clamp(x, 0, hw - 1), y = std::clamp(y, 0, hh - 1);
        return double(half[size_t(y) * hw + x]);
    };
    double sum = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int cx = x / 2, cy = y / 2, nx = cx + (x % 2 ? 1 : -1), ny = cy + (y % 2 ? 1 : -1);
            const double v = (9 * at(cx, cy) + 3 * at(nx, cy) + 3 * at(cx, ny) + at(nx, ny)) / 16;
            const double e = v - full[size_t(y) * w + x];
            sum += e * e;
        }
    return sum;
}

TEST(WexburyChromaFit, FlatStaysFlatAndEdgesComeBackCloserThanAveraging) {
    // Coloured text-like strokes on a flat background, 64 x 48 pixels.
    const int w = 64, h = 48;
    Picture p{w, h, std::vector<Rgb>(size_t(w) * h, Rgb{200, 180, 120})};
    for (int y = 12; y < h - 4; ++y)
        for (int x = 12; x < w; ++x)
            if (x % 7 == 2 || y % 9 == 5) p.At(x, y) = Rgb{120, 110, 190};
    const auto bmp = MakeBmp(p, 24);
    wexbury::RgbImage image;
    ASSERT_EQ(wexbury::DecodeBmp(bmp.data(), bmp.size(), image), wexbury::BmpError::None);

    wexbury::ChromaFit fit;
    ASSERT_TRUE(fit.Allocate(w, w));
    std::vector<float> cb(size_t(w / 2) * (h / 2)), cr(cb.size()), fullCb(size_t(w) * h);
    auto row = [&](int v) { return image.Row(std::clamp(v, 0, h - 1)); };
    for (int top = 0; top < h; top += 16)
        fit.Band(top, 8, row, cb.data() + size_t(top / 2) * (w / 2),
                 cr.data() + size_t(top / 2) * (w / 2), w / 2);

    std::vector<float> averaged(cb.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb& c = p.At(x, y);
            fullCb[size_t(y) * w + x] = -0.168736f * c.r - 0.331264f * c.g + 0.5f * c.b;
        }
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x < w / 2; ++x)
            averaged[size_t(y) * (w / 2) + x] =
                (fullCb[size_t(2 * y) * w + 2 * x] + fullCb[size_t(2 * y) * w + 2 * x + 1] +
                 fullCb[size_t(2 * y + 1) * w + 2 * x] + fullCb[size_t(2 * y + 1) * w + 2 * x + 1]) / 4;

    // The top left corner is flat background as far as the fit reaches: it keeps its value.
    const float background = -0.168736f * 200 - 0.331264f * 180 + 0.5f * 120;
    EXPECT_NEAR(cb[0], background, 0.01f);
    EXPECT_NEAR(cb[1], background, 0.01f);
    for (float v : cb) {
        EXPECT_GE(v, -128.0f);
        EXPECT_LE(v, 127.0f);
    }
    const double fitError = InterpolationError(fullCb, w, h, cb);
    const double averageError = InterpolationError(fullCb, w, h, averaged);
    EXPECT_LT(fitError, 0.92 * averageError);  // 0.90 measured on these one-pixel strokes
}

// Largest magnitude a DCT coefficient of samples within -128..127 can reach, over its step.
int CoefficientLimit(int u, int v, int step) {
    const double pi = std::acos(-1.0);
    auto sumCos = [&](int f) {
        double s = 0;
        for (int x = 0; x < 8; ++x) s += std::fabs(std::cos((2 * x + 1) * f * pi / 16));
        return s * (f == 0 ? std::sqrt(0.5) : 1.0);
    };
    return int(std::ceil(128.0 / 4 * sumCos(u) * sumCos(v) / step));
}

std::vector<uint8_t> EncodeDefault(const Picture& p, int quality, bool progressive) {
    const auto bmp = MakeBmp(p, 24);
    wexbury::RgbImage image;
    EXPECT_EQ(wexbury::DecodeBmp(bmp.data(), bmp.size(), image), wexbury::BmpError::None);
    wexbury::JpegOptions options;
    options.quality = quality;
    options.progressive = progressive;
    wexbury::ByteSink sink;
    EXPECT_TRUE(wexbury::EncodeJpeg(image, options, sink));
    return std::vector<uint8_t>(sink.Data(), sink.Data() + sink.Size());
}

TEST(WexburyChromaFit, SimdStepsGiveExactlyThePortableValues) {
    const wexbury::ChromaFitSteps simd = wexbury::ChromaFitStepsSse2();
    if (!simd.across) GTEST_SKIP() << "no SSE2 steps in this build";
    const wexbury::ChromaFitSteps plain = wexbury::ChromaFitStepsPortable();
    uint32_t seed = 99;
    auto next = [&] {
        seed = seed * 1664525u + 1013904223u;
        return int(seed >> 9);
    };
    // Every length up to a few vectors and tails, values beyond the clamp at both ends.
    for (int count = 1; count <= 23; ++count) {
        std::vector<float> rows[7];
        for (auto& r : rows) {
            r.resize(size_t(count) + 6);
            for (float& v : r) v = float(next() % 4001 - 2000) / 7.0f;
        }
        std::vector<float> a(static_cast<size_t>(count)), b(a);
        simd.across(rows[0].data() + 3, count, a.data());
        plain.across(rows[0].data() + 3, count, b.data());
        EXPECT_EQ(a, b) << count;
        simd.transpose(rows[0].data(), rows[1].data(), rows[2].data(), rows[3].data(), count, a.data());
        plain.transpose(rows[0].data(), rows[1].data(), rows[2].data(), rows[3].data(), count, b.data());
        EXPECT_EQ(a, b) << count;
        const float* down[7];
        for (int k = 0; k < 7; ++k) down[k] = rows[k].data();
        simd.down(down, count, a.data());
        plain.down(down, count, b.data());
        EXPECT_EQ(a, b) << count;
        std::vector<int32_t> sums[3];
        for (auto& s : sums) {
            s.resize(size_t(count));
            for (int32_t& v : s) v = next() % 2041;  // weights 1, 3, 3, 1 of 0..255
        }
        std::vector<float> cb(static_cast<size_t>(count)), cr(cb), cb2(cb), cr2(cb);
        simd.convert(sums[0].data(), sums[1].data(), sums[2].data(), count, cb.data(), cr.data());
        plain.convert(sums[0].data(), sums[1].data(), sums[2].data(), count, cb2.data(), cr2.data());
        EXPECT_EQ(cb, cb2) << count;
        EXPECT_EQ(cr, cr2) << count;
    }
}

TEST(WexburyTrellis, EveryCoefficientStaysInItsTablesRange) {
    // Hard black and white edges with saturated colour: the largest coefficients there are.
    Picture p = TestPicture(96, 80, 9);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if ((x / 3 + y / 5) % 2) p.At(x, y) = (x + y) % 3 ? Rgb{255, 0, 255} : Rgb{0, 0, 0};
    for (int quality : {100, 90, 50})
        for (bool progressive : {false, true}) {
            const auto jpeg = EncodeDefault(p, quality, progressive);
            jpeg_decompress_struct cinfo;
            jpeg_error_mgr err;
            cinfo.err = jpeg_std_error(&err);
            jpeg_create_decompress(&cinfo);
            jpeg_mem_src(&cinfo, jpeg.data(), (unsigned long)jpeg.size());
            ASSERT_EQ(jpeg_read_header(&cinfo, TRUE), JPEG_HEADER_OK);
            jvirt_barray_ptr* arrays = jpeg_read_coefficients(&cinfo);
            int checked = 0;
            for (int c = 0; c < cinfo.num_components; ++c) {
                const jpeg_component_info& comp = cinfo.comp_info[c];
                const UINT16* q = comp.quant_table->quantval;
                for (JDIMENSION by = 0; by < comp.height_in_blocks; ++by) {
                    JBLOCKARRAY rows = cinfo.mem->access_virt_barray(
                        reinterpret_cast<j_common_ptr>(&cinfo), arrays[c], by, 1, FALSE);
                    for (JDIMENSION bx = 0; bx < comp.width_in_blocks; ++bx)
                        for (int n = 0; n < 64; ++n, ++checked)
                            ASSERT_LE(std::abs(rows[0][bx][n]),
                                      CoefficientLimit(n / 8, n % 8, q[n]))
                                << "quality " << quality << " component " << c;
                }
            }
            EXPECT_GT(checked, 0);
            jpeg_finish_decompress(&cinfo);
            jpeg_destroy_decompress(&cinfo);
        }
}

TEST(WexburyTrellis, DecodesWithNoMoreErrorThanLibjpegsFileAndIsNoLarger) {
    // What the benchmark claims on its images, on a picture of its own: at the same quality no
    // more than 0.05 dB below libjpeg's optimised file.
    const Picture p = TestPicture(320, 240, 4);
    for (int quality : {75, 90}) {
        const auto ours = EncodeDefault(p, quality, false);
        const auto theirs = EncodeWithLibjpeg(p, quality);
        const DecodedJpeg a = DecodeJpeg(ours), b = DecodeJpeg(theirs);
        ASSERT_TRUE(a.ok && b.ok);
        EXPECT_GE(Psnr(a.picture, p), Psnr(b.picture, p) - 0.05) << "quality " << quality;
        EXPECT_LE(ours.size(), theirs.size()) << "quality " << quality;
    }
}

}  // namespace
