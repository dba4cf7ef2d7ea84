// The JPEG writer's choice of lambda: the decoder its pilot measures with, against libjpeg's own
// decode, and what the chosen lambda gives on screens and on pictures the chroma fit cannot help.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tests/native/wexbury_test_support.h"
#include "wexbury/bmp_reader.h"
#include "wexbury/image_transform.h"
#include "wexbury/jpeg_encoder.h"
#include "wexbury/lambda_pilot.h"
#include "wexbury/packed_blocks.h"
#include "wexbury/quant_tables.h"
#include "wexbury/row_maker.h"
#include "wexbury/sample_decoder.h"

namespace {

using namespace wexbury_test;

// Text-like strokes in several saturated colours over a light window and a dark console: what
// the fit helps most with, and what the trellis finds most to drop in.
Picture ScreenPicture(int w, int h) {
    Picture p{w, h, std::vector<Rgb>(size_t(w) * h, Rgb{246, 246, 242})};
    const Rgb ink[] = {{20, 20, 20}, {200, 30, 30}, {30, 90, 200}, {20, 150, 60}};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool console = x > w / 2 && y > h / 3;
            if (console) p.At(x, y) = Rgb{12, 12, 12};
            const int line = y % 14, column = x % 9;
            const bool stroke = line >= 3 && line <= 11 && (column == 2 || (line == 7 && column < 6));
            if (stroke) p.At(x, y) = console ? Rgb{210, 210, 210} : ink[(x / 40 + y / 14) % 4];
        }
    return p;
}

std::vector<uint8_t> Encode(const Picture& p, wexbury::JpegOptions options) {
    const auto bmp = MakeBmp(p, 24);
    wexbury::RgbImage image;
    EXPECT_EQ(wexbury::DecodeBmp(bmp.data(), bmp.size(), image), wexbury::BmpError::None);
    wexbury::ByteSink sink;
    EXPECT_TRUE(wexbury::EncodeJpeg(image, options, sink));
    return std::vector<uint8_t>(sink.Data(), sink.Data() + sink.Size());
}

wexbury::JpegOptions Options(int quality) {
    wexbury::JpegOptions o;
    o.quality = quality;
    return o;
}

// The blocks of a baseline 4:2:0 file as libjpeg reads them, one MCU row at a time in the
// order the sample decoder takes: two rows of luma blocks, then the Cb and the Cr row.
struct FileBlocks {
    int width = 0, height = 0, lumaWide = 0, chromaWide = 0, mcuRows = 0;
    uint16_t quant[2][64];
    std::vector<std::vector<wexbury::CoefBlock>> rows;
};

FileBlocks ReadBlocks(const std::vector<uint8_t>& jpeg) {
    FileBlocks f;
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), (unsigned long)jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    jvirt_barray_ptr* arrays = jpeg_read_coefficients(&cinfo);
    f.width = int(cinfo.image_width);
    f.height = int(cinfo.image_height);
    f.lumaWide = (f.width + 7) / 8;
    f.chromaWide = ((f.width + 1) / 2 + 7) / 8;
    f.mcuRows = (f.height + 15) / 16;
    for (int t = 0; t < 2; ++t)
        for (int n = 0; n < 64; ++n) f.quant[t][n] = cinfo.comp_info[t].quant_table->quantval[n];
    auto block = [&](int c, int by, int bx) {
        JBLOCKARRAY rows = cinfo.mem->access_virt_barray(reinterpret_cast<j_common_ptr>(&cinfo),
                                                         arrays[c], JDIMENSION(by), 1, FALSE);
        wexbury::CoefBlock b{};
        for (int k = 0; k < 64; ++k) {
            b.zz[k] = rows[0][bx][wexbury::kZigzagToNatural[k]];
            if (b.zz[k]) b.nonzero |= uint64_t(1) << k;
        }
        return b;
    };
    for (int my = 0; my < f.mcuRows; ++my) {
        std::vector<wexbury::CoefBlock> row;
        for (int v = 0; v < 2 && 2 * my + v < (f.height + 7) / 8; ++v)
            for (int bx = 0; bx < f.lumaWide; ++bx) row.push_back(block(0, 2 * my + v, bx));
        for (int c = 1; c < 3; ++c)
            for (int bx = 0; bx < f.chromaWide; ++bx) row.push_back(block(c, my, bx));
        f.rows.push_back(row);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return f;
}

// Squared error over R, G and B, divided by three, of rows y0..y1-1.
double RowsError(const Picture& a, const Picture& b, int y0, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < a.width; ++x) {
            const Rgb &p = a.At(x, y), &q = b.At(x, y);
            sum += double(p.r - q.r) * (p.r - q.r) + double(p.g - q.g) * (p.g - q.g) +
                   double(p.b - q.b) * (p.b - q.b);
        }
    return sum / 3;
}

TEST(WexburySampleDecoder, MeasuresTheErrorLibjpegsDecodeHasAndRedoesOnlyChangedColumns) {
    const Picture p = ScreenPicture(200, 96);
    const auto jpeg = Encode(p, Options(75));
    const FileBlocks f = ReadBlocks(jpeg);
    const DecodedJpeg decoded = DecodeJpeg(jpeg);
    ASSERT_TRUE(decoded.ok);

    wexbury::SampleDecoder decoder;
    ASSERT_TRUE(decoder.Allocate(f.width, false, f.quant[0], f.quant[1]));
    std::vector<uint8_t> bgr(size_t(f.width) * f.height * 3);
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const Rgb& c = p.At(x, y);
            uint8_t* o = bgr.data() + (size_t(y) * f.width + x) * 3;
            o[0] = c.b, o[1] = c.g, o[2] = c.r;
        }
    double ours = 0;
    std::vector<double> columns(size_t(decoder.Columns()));
    std::vector<wexbury::CoefBlock> lastRow;
    for (int my = 0; my < f.mcuRows; ++my) {
        const int rows = std::min(16, f.height - 16 * my);
        const uint8_t* rowsOf[16];
        for (int y = 0; y < rows; ++y) rowsOf[y] = bgr.data() + size_t(16 * my + y) * f.width * 3;
        std::vector<uint8_t> planes(size_t(f.width) * 3 * rows);
        wexbury::SplitPlanes(rowsOf, rows, f.width, planes.data());
        const wexbury::SourcePlanes source{planes.data(), f.width, rows};
        const auto& b = f.rows[size_t(my)];
        const int lumaRows = (rows + 7) / 8;
        const size_t luma = size_t(f.lumaWide) * lumaRows;
        wexbury::McuRowView view{b.data(), lumaRows, f.lumaWide, b.data() + luma,
                                 b.data() + luma + f.chromaWide, f.chromaWide};
        const double error = decoder.Error(view, source, columns.data());
        // The decoder looks into the rows above and below for the chroma; the sample repeats
        // the row's own edge there. Inside each row the two agree to rounding.
        const double libjpeg = RowsError(decoded.picture, p, 16 * my, 16 * my + rows);
        EXPECT_NEAR(error, libjpeg, 0.05 * libjpeg + 50) << "MCU row " << my;
        ours += error;

        // Change one block's values (the third luma block, and the second Cr block): measuring
        // again only where they reach gives what a whole new measure gives.
        std::vector<wexbury::CoefBlock> changed = b;
        changed[2].zz[1] = int16_t(changed[2].zz[1] + 3), changed[2].nonzero |= 2;
        changed[luma + f.chromaWide + 1].zz[0] = int16_t(changed[luma + f.chromaWide + 1].zz[0] - 2);
        changed[luma + f.chromaWide + 1].nonzero |= 1;
        wexbury::McuRowView changedView{changed.data(), lumaRows, f.lumaWide,
                                        changed.data() + luma,
                                        changed.data() + luma + f.chromaWide, f.chromaWide};
        std::vector<uint8_t> flags(columns.size(), 0);
        flags[1] = 1;  // luma block 2 lies in MCU column 1, Cr block 1 too
        const double again =
            decoder.ErrorAfterChanges(changedView, source, columns.data(), flags.data());
        wexbury::SampleDecoder fresh;
        ASSERT_TRUE(fresh.Allocate(f.width, false, f.quant[0], f.quant[1]));
        EXPECT_DOUBLE_EQ(again, fresh.Error(changedView, source)) << "MCU row " << my;
    }
    const double libjpeg = RowsError(decoded.picture, p, 0, f.height);
    EXPECT_NEAR(ours, libjpeg, 0.03 * libjpeg);
}

TEST(WexburySampleDecoder, SimdStepsGiveExactlyThePortableSamplesAndSums) {
    if (!wexbury::InverseDctSse2() || !wexbury::UpsampleRowSse2() || !wexbury::ColourErrorSse2())
        GTEST_SKIP() << "no SSE2 steps in this build";
    uint32_t seed = 12345;
    auto next = [&](int range) {
        seed = seed * 1664525u + 1013904223u;
        return int(seed >> 8) % range;
    };
    // Blocks from flat to full, values up to what a table allows (clamping at both ends), some
    // rows of coefficients all zero.
    for (int trial = 0; trial < 3000; ++trial) {
        float coef[64] = {};
        const int filled = 1 + trial % 64, scale = trial % 3 == 0 ? 4000 : trial % 3 == 1 ? 300 : 20;
        for (int i = 0; i < filled; ++i) coef[next(64)] = float(next(2 * scale + 1) - scale);
        if (trial % 5 == 0)
            for (int u = 0; u < 8; ++u) coef[8 * next(8) + u] = 0;
        uint8_t simd[8 * 11], portable[8 * 11];
        wexbury::InverseDctSse2()(coef, simd, 11);
        wexbury::InverseDctPortable(coef, portable, 11);
        for (int y = 0; y < 8; ++y)
            ASSERT_EQ(0, std::memcmp(simd + 11 * y, portable + 11 * y, 8)) << "block " << trial;
    }
    // Chroma rows of every length from one sample, interpolated over every range, and the colour
    // error over every length, extreme values included.
    for (int samples = 1; samples <= 40; ++samples) {
        std::vector<uint8_t> nearRow(static_cast<size_t>(samples)), farRow(nearRow);
        for (int i = 0; i < samples; ++i)
            nearRow[size_t(i)] = uint8_t(i % 7 == 0 ? 255 * (i % 2) : next(256)), farRow[size_t(i)] = uint8_t(next(256));
        for (int first = 0; first < samples; ++first)
            for (int end = first + 1; end <= samples + 2; ++end) {
                std::vector<uint8_t> a(2 * size_t(samples) + 32, 7), b(a);
                wexbury::UpsampleRowSse2()(nearRow.data(), farRow.data(), a.data(), samples, first, end);
                wexbury::UpsampleRowPortable(nearRow.data(), farRow.data(), b.data(), samples, first, end);
                ASSERT_EQ(a, b) << samples << " samples, " << first << " to " << end;
            }
        const int count = samples;
        std::vector<uint8_t> y(static_cast<size_t>(count)), cb(y), cr(y), plane[3] = {y, y, y};
        for (int x = 0; x < count; ++x) {
            y[size_t(x)] = uint8_t(x % 5 == 0 ? 255 * (x % 2) : next(256));
            cb[size_t(x)] = uint8_t(x % 3 == 0 ? 255 * (x % 2) : next(256));
            cr[size_t(x)] = uint8_t(next(256));
            for (auto& p : plane) p[size_t(x)] = uint8_t(next(256));
        }
        const uint8_t* bgr[3] = {plane[0].data(), plane[1].data(), plane[2].data()};
        EXPECT_EQ(wexbury::ColourErrorSse2()(y.data(), cb.data(), cr.data(), bgr, count),
                  wexbury::ColourErrorPortable(y.data(), cb.data(), cr.data(), bgr, count));
    }
}

TEST(WexburyPilot, PackedBlocksComeBackWholeWithTheExactValuesTheTrellisReads) {
    // Flat, empty, sparse and full blocks, appended in uneven runs: each comes back with all its
    // values, zeros where it had none, and its exact values at its non-zero positions; a block
    // differing in one value or in one position is told apart.
    std::vector<wexbury::CoefBlock> blocks(200);
    std::vector<float> exact(blocks.size() * 64);
    uint32_t seed = 5;
    auto next = [&](int range) {
        seed = seed * 1664525u + 1013904223u;
        return int(seed >> 8) % range;
    };
    for (size_t i = 0; i < blocks.size(); ++i) {
        wexbury::CoefBlock& b = blocks[i];
        b = wexbury::CoefBlock{};
        const int filled = i % 4 == 0 ? 0 : i % 4 == 1 ? 1 : i % 4 == 2 ? 1 + next(6) : 64;
        for (int f = 0; f < filled; ++f) {
            const int k = filled == 64 ? f : filled == 1 ? 0 : next(64);
            b.zz[k] = int16_t(next(2047) - 1023);
            if (b.zz[k] == 0) b.zz[k] = 1;
            b.nonzero |= uint64_t(1) << k;
        }
        for (int k = 0; k < 64; ++k) exact[64 * i + k] = float(b.zz[k]) + float(next(100)) / 200;
    }
    wexbury::PackedBlocks packed;
    ASSERT_TRUE(packed.Allocate(blocks.size()));
    for (size_t at = 0; at < blocks.size();) {
        const size_t run = std::min(blocks.size() - at, size_t(1 + next(37)));
        packed.Append(blocks.data() + at, exact.data() + 64 * at, run);
        at += run;
    }
    ASSERT_EQ(packed.Size(), blocks.size());
    std::vector<wexbury::CoefBlock> back(50);
    std::vector<float> backExact(back.size() * 64, -1.0f);
    for (size_t first : {size_t(0), size_t(37), size_t(150)}) {
        std::fill(back.begin(), back.end(), blocks[3]);  // stale values to be overwritten
        packed.Unpack(first, back.size(), back.data(), backExact.data());
        for (size_t i = 0; i < back.size(); ++i) {
            const wexbury::CoefBlock& a = blocks[first + i];
            EXPECT_EQ(0, std::memcmp(a.zz, back[i].zz, sizeof a.zz)) << first + i;
            EXPECT_EQ(a.nonzero, back[i].nonzero) << first + i;
            for (int k = 0; k < 64; ++k) {
                if (a.nonzero >> k & 1) {
                    EXPECT_EQ(exact[64 * (first + i) + k], backExact[64 * i + k]);
                }
            }
            EXPECT_TRUE(packed.Same(first + i, a));
            wexbury::CoefBlock other = a;
            other.zz[0] = int16_t(other.zz[0] + 1);
            other.nonzero |= 1;
            EXPECT_FALSE(packed.Same(first + i, other)) << first + i;
        }
    }
}

// A screen picture's rows, the quality-75 tables and the MCU layout, as the writer hands them to
// the pilot.
struct PilotSetUp {
    wexbury::RgbImage image;
    wexbury::ImageRows rows{image};
    uint16_t luma[64], chroma[64];
    wexbury::CoefficientImage layout;
    wexbury::McuRowShape shape;
    bool ok = false;
    PilotSetUp(int width, int height) {
        const auto bmp = MakeBmp(ScreenPicture(width, height), 24);
        if (wexbury::DecodeBmp(bmp.data(), bmp.size(), image) != wexbury::BmpError::None) return;
        wexbury::ScaledQuantTable(wexbury::QuantTableKind::Luma, 75, luma);
        wexbury::ScaledQuantTable(wexbury::QuantTableKind::Chroma, 75, chroma);
        if (!wexbury::LayOutComponents(image.width, image.height, false, layout)) return;
        shape.width = image.width;
        shape.lumaWide = layout.components[0].realWide;
        shape.chromaWide = layout.components[1].realWide;
        ok = true;
    }
    wexbury::RowMaker Maker(bool fit) { return wexbury::RowMaker(rows, layout, false, fit, luma, chroma); }
};

TEST(WexburyPilot, ASampledRowComesBackAsTheFitOrThePlainEncoderMadeIt) {
    // When the pilot drops the fit, its sampled rows are not made again: their luma and the plain
    // chroma made beside the fit's must be what the maker without the fit makes.
    PilotSetUp set(200, 40);  // a part MCU at the right and at the bottom
    ASSERT_TRUE(set.ok);
    const wexbury::RgbImage& image = set.image;
    const wexbury::CoefficientImage& layout = set.layout;
    const wexbury::McuRowShape& shape = set.shape;
    const uint16_t* luma = set.luma;
    const uint16_t* chroma = set.chroma;
    wexbury::RowMaker fitted = set.Maker(true), plain = set.Maker(false);
    ASSERT_TRUE(fitted.Allocate() && plain.Allocate());
    wexbury::LambdaPilot pilot;
    ASSERT_TRUE(pilot.Allocate(shape, 3, 3, luma, chroma));
    const size_t blocks = size_t(layout.components[0].blocksWide) * 4;
    wexbury::McuRowBlocks made, expected, recalled;
    ASSERT_TRUE(made.Allocate(blocks) && expected.Allocate(blocks) && recalled.Allocate(blocks));
    auto same = [](const wexbury::McuRowBlocks& a, const wexbury::McuRowBlocks& b) {
        const size_t n = a.count[0] + a.count[1] + a.count[2];
        if (n != b.count[0] + b.count[1] + b.count[2] || a.first[1] != b.first[1]) return false;
        // The exact values where the values are not zero: the only ones the trellis reads.
        for (size_t i = 0; i < n; ++i) {
            if (std::memcmp(a.blocks[i].zz, b.blocks[i].zz, sizeof a.blocks[i].zz) != 0 ||
                a.blocks[i].nonzero != b.blocks[i].nonzero)
                return false;
            for (int k = 0; k < 64; ++k)
                if ((a.blocks[i].nonzero >> k & 1) && a.exact[64 * i + k] != b.exact[64 * i + k])
                    return false;
        }
        return true;
    };
    for (int my = 0; my < layout.mcusHigh; ++my) {
        ASSERT_TRUE(fitted.Make(my, made, true));
        const wexbury::PlainChroma plainChroma{{fitted.PlainChroma(0), fitted.PlainChroma(1)},
                                               {fitted.PlainExact(0), fitted.PlainExact(1)}};
        const int pixelRows = std::min(16, image.height - 16 * my);
        ASSERT_TRUE(pilot.AddRow(my, made.blocks.data(), made.exact.data(),
                                 int(made.count[0]) / shape.lumaWide, fitted.SourceRows(),
                                 pixelRows, &plainChroma));
        ASSERT_TRUE(pilot.Recall(my, true, recalled));
        EXPECT_TRUE(same(recalled, made)) << "MCU row " << my;
        ASSERT_TRUE(plain.Make(my, expected, false));
        ASSERT_TRUE(pilot.Recall(my, false, recalled));
        EXPECT_TRUE(same(recalled, expected)) << "MCU row " << my;
        EXPECT_FALSE(same(made, expected)) << "MCU row " << my;  // the fit did change the chroma
    }
}

TEST(WexburyPilot, TriesTakenAsTheRowsComeChooseTheLambdaTriesTakenAfterwardsChoose) {
    // The first two lambdas are tried on a side thread while the rows are still being sampled,
    // from the first row or from some way in: the choice must be the same to the bit as with
    // every try taken at the end, and tries stopped half-way must leave the pilot to try again
    // itself.
    PilotSetUp set(480, 320);
    ASSERT_TRUE(set.ok);
    const wexbury::RgbImage& image = set.image;
    const wexbury::CoefficientImage& layout = set.layout;
    const wexbury::McuRowShape& shape = set.shape;
    wexbury::RowMaker maker = set.Maker(true);
    ASSERT_TRUE(maker.Allocate());
    auto weightsFor = [&](float s, int c) { return maker.Weights().At(s, c); };
    constexpr float kMost = 4.0f;
    wexbury::LambdaPilot atTheEnd, asTheyCome, later, stopped;
    const int sampleRows = layout.mcusHigh;
    for (wexbury::LambdaPilot* pilot : {&atTheEnd, &asTheyCome, &later, &stopped})
        ASSERT_TRUE(pilot->Allocate(shape, size_t(sampleRows), size_t(sampleRows), set.luma, set.chroma));
    ASSERT_TRUE(asTheyCome.StartTries(kMost, weightsFor));
    ASSERT_TRUE(stopped.StartTries(kMost, weightsFor));
    EXPECT_FALSE(asTheyCome.StartTries(kMost, weightsFor));  // once
    wexbury::McuRowBlocks made;
    ASSERT_TRUE(made.Allocate(size_t(layout.components[0].blocksWide) * 4));
    for (int my = 0; my < sampleRows; ++my) {
        ASSERT_TRUE(maker.Make(my, made, true));
        const wexbury::PlainChroma plainChroma{{maker.PlainChroma(0), maker.PlainChroma(1)},
                                               {maker.PlainExact(0), maker.PlainExact(1)}};
        const int pixelRows = std::min(16, image.height - 16 * my);
        for (wexbury::LambdaPilot* pilot : {&atTheEnd, &asTheyCome, &later, &stopped})
            ASSERT_TRUE(pilot->AddRow(my, made.blocks.data(), made.exact.data(),
                                      int(made.count[0]) / shape.lumaWide, maker.SourceRows(),
                                      pixelRows, &plainChroma));
        if (my == sampleRows / 3) {
            ASSERT_TRUE(later.StartTries(kMost, weightsFor));
        }
        if (my == sampleRows / 2) stopped.StopTries();
    }
    ASSERT_TRUE(atTheEnd.FitHelps());
    const float chosen = atTheEnd.Choose(wexbury::kDefaultLambdaScale, kMost, weightsFor);
    EXPECT_GT(chosen, wexbury::kDefaultLambdaScale);  // the fit saved something to spend
    EXPECT_EQ(asTheyCome.Choose(wexbury::kDefaultLambdaScale, kMost, weightsFor), chosen);
    EXPECT_EQ(later.Choose(wexbury::kDefaultLambdaScale, kMost, weightsFor), chosen);
    EXPECT_EQ(stopped.Choose(wexbury::kDefaultLambdaScale, kMost, weightsFor), chosen);
}

TEST(WexburyPilot, ScreensComeOutSmallerThanLibjpegsFilesAtItsError) {
    // The lambda the pilot picks spends the fit's saving: the file is at least 3 % smaller than
    // libjpeg's optimised one, and decodes no more than 0.05 dB worse.
    const Picture p = ScreenPicture(480, 320);
    for (int quality : {75, 90}) {
        const auto ours = Encode(p, Options(quality));
        const auto theirs = EncodeWithLibjpeg(p, quality);
        const DecodedJpeg a = DecodeJpeg(ours), b = DecodeJpeg(theirs);
        ASSERT_TRUE(a.ok && b.ok);
        EXPECT_GE(Psnr(a.picture, p), Psnr(b.picture, p) - 0.05) << "quality " << quality;
        EXPECT_LT(double(ours.size()), 0.97 * double(theirs.size())) << "quality " << quality;
        // And more than with the lambda held at its least value.
        wexbury::JpegOptions fixed = Options(quality);
        fixed.steerLambda = false;
        EXPECT_LT(ours.size(), Encode(p, fixed).size()) << "quality " << quality;
    }
}

TEST(WexburyPilot, WhereTheFitCannotHelpTheLambdaStaysLow) {
    // Grey noise: no colour for the fit to place better, so nothing to spend. The file keeps
    // libjpeg's error (within 0.05 dB), in colour and in grey.
    Picture p{160, 96, std::vector<Rgb>(160 * 96)};
    unsigned state = 7;
    for (Rgb& c : p.pixels) {
        state = state * 1664525u + 1013904223u;
        const uint8_t v = uint8_t(96 + (state >> 26));
        c = Rgb{v, v, v};
    }
    for (int quality : {75, 90}) {
        const DecodedJpeg ours = DecodeJpeg(Encode(p, Options(quality)));
        const DecodedJpeg theirs = DecodeJpeg(EncodeWithLibjpeg(p, quality));
        ASSERT_TRUE(ours.ok && theirs.ok);
        EXPECT_GE(Psnr(ours.picture, p), Psnr(theirs.picture, p) - 0.05) << "quality " << quality;
        wexbury::JpegOptions grey = Options(quality);
        grey.grayscale = true;
        const DecodedJpeg g = DecodeJpeg(Encode(p, grey));
        ASSERT_TRUE(g.ok);
        EXPECT_GE(Psnr(g.picture, p), Psnr(theirs.picture, p) - 0.05) << "quality " << quality;
    }
}

}  // namespace

namespace {

// A small picture's MCU rows as the pilot receives them: blocks of one flat grey value each and
// the pixels they stand for, so the rounded rows decode to their source exactly.
struct FlatRows {
    static constexpr int kWidth = 32, kRows = 6;
    wexbury::McuRowShape shape;
    uint16_t quant[64];
    std::vector<wexbury::CoefBlock> blocks;  // one row's
    std::vector<float> exact;
    std::vector<uint8_t> pixels;              // 16 rows, blue-green-red
    const uint8_t* source[16];
    FlatRows() {
        shape.width = kWidth;
        shape.lumaWide = kWidth / 8;
        shape.chromaWide = kWidth / 16;
        for (uint16_t& q : quant) q = 1;
        blocks.resize(shape.Blocks());
        exact.assign(shape.Blocks() * 64, 0.0f);
        pixels.assign(size_t(kWidth) * 16 * 3, 0);
        for (int y = 0; y < 16; ++y) source[y] = pixels.data() + size_t(y) * kWidth * 3;
    }
    // Grey level `v` everywhere (luma DC 8 * (v - 128), chroma 0).
    void Fill(int v) {
        for (size_t i = 0; i < blocks.size(); ++i) {
            wexbury::CoefBlock& b = blocks[i];
            b = wexbury::CoefBlock{};
            const bool luma = i < size_t(shape.lumaWide) * 2;
            b.zz[0] = int16_t(luma ? 8 * (v - 128) : 0);
            b.nonzero = b.zz[0] != 0;
            exact[64 * i] = b.zz[0];
        }
        std::fill(pixels.begin(), pixels.end(), uint8_t(v));
    }
};

TEST(WexburyPilot, KeepsItsRowsForTheCodingAndDoubtsSavingsThatDisagree) {
    FlatRows f;
    auto pilotWith = [&](std::initializer_list<double> savings, wexbury::LambdaPilot& pilot) {
        ASSERT_TRUE(pilot.Allocate(f.shape, savings.size(), 2 * savings.size(), f.quant, f.quant));
        int my = 0;
        for (double saving : savings) {
            // The rounded rows decode ten levels off their source; the reference's error is
            // that less the saving.
            f.Fill(100 + 10 * my);
            std::fill(f.pixels.begin(), f.pixels.end(), uint8_t(110 + 10 * my));
            const double rounded = 100.0 * 16 * f.kWidth;
            ASSERT_TRUE(pilot.AddRow(2 * my, f.blocks.data(), f.exact.data(), 2, f.source, 16,
                                     rounded + saving));
            ++my;
        }
    };
    wexbury::LambdaPilot steady, spread, losing, surelyLosing;
    pilotWith({4000, 4100, 3900, 4000}, steady);
    pilotWith({20000, -12000, 18000, -10000}, spread);
    pilotWith({-500, -300, -400, -600}, losing);
    pilotWith({-20000, 3000, -18000, 2000}, surelyLosing);
    EXPECT_TRUE(steady.FitHelps());
    EXPECT_FALSE(steady.Doubtful());
    EXPECT_TRUE(spread.Doubtful());  // the sum says it helps; the rows do not agree
    EXPECT_FALSE(losing.FitHelps());
    // Rows that disagree, but not about the fit losing: more of them would not change that.
    EXPECT_FALSE(surelyLosing.FitHelps());
    EXPECT_FALSE(surelyLosing.Doubtful());

    // A sampled row comes back as it went in; a row not sampled is made anew.
    wexbury::McuRowBlocks row;
    ASSERT_TRUE(row.Allocate(f.shape.Blocks()));
    ASSERT_TRUE(steady.Recall(2, false, row));
    EXPECT_EQ(row.count[0], size_t(f.shape.lumaWide) * 2);
    EXPECT_EQ(row.first[1], row.count[0]);
    EXPECT_EQ(row.count[1], size_t(f.shape.chromaWide));
    EXPECT_EQ(row.blocks[0].zz[0], 8 * (110 - 128));
    EXPECT_FALSE(steady.Recall(1, false, row));
    EXPECT_FALSE(steady.Recall(100, false, row));
}

}  // namespace
