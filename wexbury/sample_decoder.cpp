#include "wexbury/sample_decoder.h"

#include <cmath>
#include <cstring>

#include "wexbury/quant_tables.h"

namespace wexbury {
namespace {

// The inverse DCT's basis: kBasis[n][u] = C(u) / 2 * cos((2n + 1) u pi / 16).
struct Basis {
    float at[8][8];
    Basis() {
        for (int n = 0; n < 8; ++n)
            for (int u = 0; u < 8; ++u)
                at[n][u] = float((u == 0 ? std::sqrt(0.5) : 1.0) / 2 *
                                 std::cos((2 * n + 1) * u * 3.14159265358979 / 16));
    }
};
const Basis kBasis;

inline uint8_t ToSample(float v) {
    // Rounded by adding 1.5 * 2^23, which leaves the nearest whole number in the low bits of the
    // float: no conversion instruction, which the 32-bit build's x87 code would pay dearly for.
    const float r = v + (128.0f + 12582912.0f);
    uint32_t bits;
    std::memcpy(&bits, &r, sizeof bits);
    const int value = int(bits & 0x7FFFFF) - 0x400000;
    return uint8_t(value < 0 ? 0 : value > 255 ? 255 : value);
}

// Squares of the differences -255..255, and clamping of -384..639, by look-up.
struct Tables {
    int square[511];
    uint8_t clamp[1024];
    Tables() {
        for (int d = -255; d <= 255; ++d) square[d + 255] = d * d;
        for (int v = -384; v < 640; ++v) clamp[v + 384] = uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
    }
};
const Tables kTables;
inline int Clamp255(int v) { return kTables.clamp[v + 384]; }
inline int Square(int d) { return kTables.square[d + 255]; }

// The colour conversion in integers, as the common decoder does it: each chroma value's share of
// R, G and B looked up, in 16-bit fixed point for G.
struct ColourTables {
    int crToR[256], cbToB[256], toG[256][2];  // toG: Cb's and Cr's shares, scaled by 65536
    ColourTables() {
        for (int i = 0; i < 256; ++i) {
            const double x = i - 128;
            crToR[i] = int(std::floor(1.40200 * x + 0.5));
            cbToB[i] = int(std::floor(1.77200 * x + 0.5));
            toG[i][0] = -int(std::floor(0.34414 * 65536 * x + 0.5));
            toG[i][1] = -int(std::floor(0.71414 * 65536 * x + 0.5)) + 32768;
        }
    }
};
const ColourTables kColour;

}  // namespace

bool SampleDecoder::Allocate(int width, bool grayscale, const uint16_t* lumaQuant,
                             const uint16_t* chromaQuant) {
    width_ = width;
    grayscale_ = grayscale;
    quant_[0] = lumaQuant;
    quant_[1] = grayscale ? lumaQuant : chromaQuant;
    lumaStride_ = (width + 15) / 16 * 16;
    chromaStride_ = lumaStride_ / 2;
    mcuWidth_ = grayscale ? 8 : 16;
    return samples_.Allocate(size_t(lumaStride_) * 16 + size_t(chromaStride_) * 16) &&
           upsampled_.Allocate(size_t(lumaStride_) * 2) && decode_.Allocate(size_t(Columns())) &&
           measure_.Allocate(size_t(Columns()));
}

void SampleDecoder::DecodeBlock(const CoefBlock& block, const uint16_t* quant, uint8_t* out,
                                int stride) const {
    if ((block.nonzero & ~uint64_t(1)) == 0) {  // flat: the DC alone
        const uint8_t v = ToSample(float(block.zz[0] * quant[0]) / 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) out[y * stride + x] = v;
        return;
    }
    float coef[64] = {};
    for (int k = 0; k < 64; ++k)
        if (block.zz[k]) {
            const int n = kZigzagToNatural[k];
            coef[n] = float(block.zz[k] * quant[n]);
        }
    // Along each row of coefficients first, skipping the rows that are all zero (most are, in
    // screens), then down the columns.
    float rows[64] = {};
    for (int v = 0; v < 8; ++v) {
        const float* c = coef + v * 8;
        if (!(c[0] || c[1] || c[2] || c[3] || c[4] || c[5] || c[6] || c[7])) continue;
        for (int x = 0; x < 8; ++x) {
            float s = 0;
            for (int u = 0; u < 8; ++u) s += kBasis.at[x][u] * c[u];
            rows[v * 8 + x] = s;
        }
    }
    for (int y = 0; y < 8; ++y) {
        float s[8] = {};
        for (int v = 0; v < 8; ++v) {
            const float b = kBasis.at[y][v];
            for (int x = 0; x < 8; ++x) s[x] += b * rows[v * 8 + x];
        }
        for (int x = 0; x < 8; ++x) out[y * stride + x] = ToSample(s[x]);
    }
}

void SampleDecoder::UpsampleRow(const uint8_t* near, const uint8_t* far, uint8_t* out, int first,
                                int end) const {
    // The common decoder's interpolation in integers: 3/4 of the nearer chroma row and 1/4 of
    // the farther, then the same across, with its rounding; the row's ends repeat their sample.
    const int samples = (width_ + 1) / 2;
    if (end > samples) end = samples;
    if (first >= end) return;
    auto column = [&](int i) { return 3 * near[i] + far[i]; };
    int last = column(first > 0 ? first - 1 : 0), at = column(first);
    for (int i = first; i < end; ++i) {
        const int next = i + 1 < samples ? column(i + 1) : at;
        out[2 * i] = uint8_t(i == 0 ? (at * 4 + 8) >> 4 : (at * 3 + last + 8) >> 4);
        out[2 * i + 1] = uint8_t(i + 1 == samples ? (at * 4 + 7) >> 4 : (at * 3 + next + 7) >> 4);
        last = at;
        at = next;
    }
}

double SampleDecoder::Error(const McuRowView& blocks, const uint8_t* const* source, int rows,
                            double* columns) {
    return Measure(blocks, source, rows, columns, nullptr, nullptr);
}

double SampleDecoder::ErrorAfterChanges(const McuRowView& blocks, const uint8_t* const* source,
                                        int rows, const double* columns, const uint8_t* changed) {
    return Measure(blocks, source, rows, nullptr, columns, changed);
}

double SampleDecoder::Measure(const McuRowView& blocks, const uint8_t* const* source, int rows,
                              double* columnsOut, const double* columnsIn,
                              const uint8_t* changed) {
    // Which columns to measure again, and whose blocks to decode for them: a column's pixels
    // read the chroma of the columns beside it.
    const int count = Columns();
    for (int c = 0; c < count; ++c) {
        measure_[c] = !changed || changed[c] || (c > 0 && changed[c - 1]) ||
                      (c + 1 < count && changed[c + 1]);
        decode_[c] = 0;
    }
    for (int c = 0; c < count; ++c)
        if (measure_[c])
            for (int n = c - 1; n <= c + 1; ++n)
                if (n >= 0 && n < count) decode_[n] = 1;

    uint8_t* luma = samples_.data();
    uint8_t* chroma[2] = {luma + size_t(lumaStride_) * 16,
                          luma + size_t(lumaStride_) * 16 + size_t(chromaStride_) * 8};
    const int lumaPerColumn = grayscale_ ? 1 : 2;
    for (int r = 0; r < blocks.lumaRows; ++r)
        for (int bx = 0; bx < blocks.lumaWide; ++bx)
            if (decode_[bx / lumaPerColumn])
                DecodeBlock(blocks.luma[r * blocks.lumaWide + bx], quant_[0],
                            luma + size_t(r) * 8 * lumaStride_ + 8 * bx, lumaStride_);
    if (!grayscale_)
        for (int bx = 0; bx < blocks.chromaWide; ++bx)
            if (decode_[bx]) {
                DecodeBlock(blocks.cb[bx], quant_[1], chroma[0] + 8 * bx, chromaStride_);
                DecodeBlock(blocks.cr[bx], quant_[1], chroma[1] + 8 * bx, chromaStride_);
            }

    double sum = 0;
    const int chromaRows = (rows + 1) / 2;
    for (int c = 0; c < count; ++c) {
        if (!measure_[c]) {
            sum += columnsIn[c];
            continue;
        }
        const int x0 = c * mcuWidth_, x1 = x0 + mcuWidth_ < width_ ? x0 + mcuWidth_ : width_;
        int64_t columnSum = 0;
        for (int y = 0; y < rows; ++y) {
            const uint8_t* src = source[y];
            const uint8_t* yRow = luma + size_t(y) * lumaStride_;
            if (grayscale_) {
                // A grey file can only be as good as the source's luma: measured against that
                // (three times, as the colour sums below count three channels).
                for (int x = x0; x < x1; ++x) {
                    const int luma = (19595 * src[3 * x + 2] + 38470 * src[3 * x + 1] +
                                      7471 * src[3 * x] + 32768) >> 16;
                    const int e = yRow[x] - luma;
                    columnSum += 3 * e * e;
                }
                continue;
            }
            const int half = y / 2;
            const int neighbour =
                y % 2 ? (half + 1 < chromaRows ? half + 1 : half) : (half > 0 ? half - 1 : half);
            for (int p = 0; p < 2; ++p)
                UpsampleRow(chroma[p] + size_t(half) * chromaStride_,
                            chroma[p] + size_t(neighbour) * chromaStride_,
                            upsampled_.data() + size_t(p) * lumaStride_, x0 / 2, (x1 + 1) / 2);
            const uint8_t* cbRow = upsampled_.data();
            const uint8_t* crRow = upsampled_.data() + lumaStride_;
            for (int x = x0; x < x1; ++x) {
                const int cb = cbRow[x], cr = crRow[x];
                const int r = Clamp255(yRow[x] + kColour.crToR[cr]);
                const int g = Clamp255(yRow[x] + ((kColour.toG[cb][0] + kColour.toG[cr][1]) >> 16));
                const int b = Clamp255(yRow[x] + kColour.cbToB[cb]);
                columnSum += Square(b - src[3 * x]) + Square(g - src[3 * x + 1]) +
                             Square(r - src[3 * x + 2]);
            }
        }
        const double error = double(columnSum) / 3;
        if (columnsOut) columnsOut[c] = error;
        sum += error;
    }
    return sum;
}
}  // namespace wexbury
