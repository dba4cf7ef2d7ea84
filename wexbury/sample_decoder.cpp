#include "wexbury/sample_decoder.h"

#include <cmath>
#include <cstring>

#include "wexbury/quant_tables.h"

namespace wexbury {
namespace {

struct Basis {
    float at[64], across[64];  // across[u * 8 + n] = at[n * 8 + u]
    Basis() {
        for (int n = 0; n < 8; ++n)
            for (int u = 0; u < 8; ++u)
                at[n * 8 + u] = across[u * 8 + n] =
                    float((u == 0 ? std::sqrt(0.5) : 1.0) / 2 *
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
// R, G and B in 16-bit fixed point, the constants rounded to that point first.
struct ColourTables {
    int crToR[256], cbToB[256], toG[256][2];  // toG: Cb's and Cr's shares, scaled by 65536
    ColourTables() {
        for (int i = 0; i < 256; ++i) {
            const int x = i - 128;
            crToR[i] = (91881 * x + 32768) >> 16;   // 1.40200
            cbToB[i] = (116130 * x + 32768) >> 16;  // 1.77200
            toG[i][0] = -22554 * x;                 // 0.34414
            toG[i][1] = -46802 * x + 32768;         // 0.71414
        }
    }
};
const ColourTables kColour;

}  // namespace

const float* InverseDctBasis() { return kBasis.at; }
const float* InverseDctBasisAcross() { return kBasis.across; }

void InverseDctPortable(const float coef[64], uint8_t* out, int stride) {
    // Along each row of coefficients first, skipping the rows that are all zero (most are, in
    // screens), then down the columns.
    float rows[64] = {};
    for (int v = 0; v < 8; ++v) {
        const float* c = coef + v * 8;
        if (!(c[0] || c[1] || c[2] || c[3] || c[4] || c[5] || c[6] || c[7])) continue;
        for (int x = 0; x < 8; ++x) {
            float s = 0;
            for (int u = 0; u < 8; ++u) s += kBasis.at[x * 8 + u] * c[u];
            rows[v * 8 + x] = s;
        }
    }
    for (int y = 0; y < 8; ++y) {
        float s[8] = {};
        for (int v = 0; v < 8; ++v) {
            const float b = kBasis.at[y * 8 + v];
            for (int x = 0; x < 8; ++x) s[x] += b * rows[v * 8 + x];
        }
        for (int x = 0; x < 8; ++x) out[y * stride + x] = ToSample(s[x]);
    }
}

void UpsampleRowPortable(const uint8_t* near, const uint8_t* far, uint8_t* out, int samples,
                         int first, int end) {
    // The common decoder's interpolation in integers: 3/4 of the nearer chroma row and 1/4 of
    // the farther, then the same across, with its rounding; the row's ends repeat their sample.
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

int64_t ColourErrorPortable(const uint8_t* y, const uint8_t* cb, const uint8_t* cr,
                            const uint8_t* const bgr[3], int count) {
    int64_t sum = 0;
    for (int x = 0; x < count; ++x) {
        const int r = Clamp255(y[x] + kColour.crToR[cr[x]]);
        const int g = Clamp255(y[x] + ((kColour.toG[cb[x]][0] + kColour.toG[cr[x]][1]) >> 16));
        const int b = Clamp255(y[x] + kColour.cbToB[cb[x]]);
        sum += Square(b - bgr[0][x]) + Square(g - bgr[1][x]) + Square(r - bgr[2][x]);
    }
    return sum;
}

void SplitPlanes(const uint8_t* const* source, int rows, int width, uint8_t* out) {
    for (int y = 0; y < rows; ++y) {
        const uint8_t* in = source[y];
        uint8_t* plane[3] = {out + size_t(y) * width, out + (size_t(rows) + y) * width,
                             out + (size_t(2 * rows) + y) * width};
        for (int x = 0; x < width; ++x, in += 3) {
            plane[0][x] = in[0];
            plane[1][x] = in[1];
            plane[2][x] = in[2];
        }
    }
}

bool SampleDecoder::Allocate(int width, bool grayscale, const uint16_t* lumaQuant,
                             const uint16_t* chromaQuant) {
    width_ = width;
    grayscale_ = grayscale;
    quant_[0] = lumaQuant;
    quant_[1] = grayscale ? lumaQuant : chromaQuant;
    lumaStride_ = (width + 15) / 16 * 16;
    chromaStride_ = lumaStride_ / 2;
    mcuWidth_ = grayscale ? 8 : 16;
    const InverseDctFn idct = InverseDctSse2();
    const UpsampleRowFn upsample = UpsampleRowSse2();
    const ColourErrorFn colour = ColourErrorSse2();
    inverseDct_ = idct ? idct : &InverseDctPortable;
    upsampleRow_ = upsample ? upsample : &UpsampleRowPortable;
    colourError_ = colour ? colour : &ColourErrorPortable;
    return samples_.Allocate(size_t(lumaStride_) * 16 + size_t(chromaStride_) * 16) &&
           upsampled_.Allocate(size_t(lumaStride_) * 2) && decode_.Allocate(size_t(Columns())) &&
           measure_.Allocate(size_t(Columns()));
}

void SampleDecoder::DecodeBlock(const CoefBlock& block, const uint16_t* quant, uint8_t* out,
                                int stride) const {
    if ((block.nonzero & ~uint64_t(1)) == 0) {  // flat: the DC alone
        const uint8_t v = ToSample(float(block.zz[0] * quant[0]) / 8);
        for (int y = 0; y < 8; ++y) std::memset(out + y * stride, v, 8);
        return;
    }
    float coef[64] = {};
    for (uint64_t rest = block.nonzero; rest; rest &= rest - 1) {
        const int k = __builtin_ctzll(rest);
        const int n = kZigzagToNatural[k];
        coef[n] = float(block.zz[k] * quant[n]);
    }
    inverseDct_(coef, out, stride);
}

double SampleDecoder::Error(const McuRowView& blocks, const SourcePlanes& source,
                            double* columns) {
    SelectColumns(nullptr);
    DecodeLuma(blocks);
    DecodeChroma(blocks.cb, blocks.cr, blocks.chromaWide);
    return Measure(source, columns, nullptr);
}

double SampleDecoder::ErrorAfterChanges(const McuRowView& blocks, const SourcePlanes& source,
                                        const double* columns, const uint8_t* changed) {
    SelectColumns(changed);
    DecodeLuma(blocks);
    DecodeChroma(blocks.cb, blocks.cr, blocks.chromaWide);
    return Measure(source, nullptr, columns);
}

double SampleDecoder::ErrorWithChroma(const CoefBlock* cb, const CoefBlock* cr,
                                      const SourcePlanes& source) {
    DecodeChroma(cb, cr, chromaWide_);
    return Measure(source, nullptr, nullptr);
}

void SampleDecoder::SelectColumns(const uint8_t* changed) {
    // A column's pixels read the chroma of the columns beside it.
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
}

void SampleDecoder::DecodeLuma(const McuRowView& blocks) {
    const int lumaPerColumn = grayscale_ ? 1 : 2;
    uint8_t* luma = samples_.data();
    for (int r = 0; r < blocks.lumaRows; ++r)
        for (int bx = 0; bx < blocks.lumaWide; ++bx)
            if (decode_[bx / lumaPerColumn])
                DecodeBlock(blocks.luma[r * blocks.lumaWide + bx], quant_[0],
                            luma + size_t(r) * 8 * lumaStride_ + 8 * bx, lumaStride_);
}

void SampleDecoder::DecodeChroma(const CoefBlock* cb, const CoefBlock* cr, int chromaWide) {
    chromaWide_ = chromaWide;
    if (grayscale_) return;
    uint8_t* chroma = samples_.data() + size_t(lumaStride_) * 16;
    for (int bx = 0; bx < chromaWide; ++bx)
        if (decode_[bx]) {
            DecodeBlock(cb[bx], quant_[1], chroma + 8 * bx, chromaStride_);
            DecodeBlock(cr[bx], quant_[1], chroma + size_t(chromaStride_) * 8 + 8 * bx,
                        chromaStride_);
        }
}

double SampleDecoder::Measure(const SourcePlanes& source, double* columnsOut,
                              const double* columnsIn) {
    const uint8_t* luma = samples_.data();
    const uint8_t* chroma[2] = {luma + size_t(lumaStride_) * 16,
                                luma + size_t(lumaStride_) * 16 + size_t(chromaStride_) * 8};
    const int count = Columns(), rows = source.rows;
    const int chromaRows = (rows + 1) / 2, samples = (width_ + 1) / 2;
    double sum = 0;
    for (int c = 0; c < count; ++c) {
        if (!measure_[c]) {
            sum += columnsIn[c];
            continue;
        }
        // A run of columns to measure: the chroma is interpolated across the whole run at once.
        int end = c + 1;
        while (end < count && measure_[end]) ++end;
        int64_t columnSums[64];  // per column of the run, 64 columns at a time
        for (int first = c; first < end; first += 64) {
            const int last = end - first < 64 ? end : first + 64;
            const int from = first * mcuWidth_;
            const int to = last * mcuWidth_ < width_ ? last * mcuWidth_ : width_;
            for (int k = 0; k < last - first; ++k) columnSums[k] = 0;
            for (int y = 0; y < rows; ++y) {
                const uint8_t* yRow = luma + size_t(y) * lumaStride_;
                if (grayscale_) {
                    // A grey file can only be as good as the source's luma: measured against that
                    // (three times, as the colour sums count three channels).
                    const uint8_t* b = source.Row(0, y);
                    const uint8_t* g = source.Row(1, y);
                    const uint8_t* r = source.Row(2, y);
                    for (int x = from; x < to; ++x) {
                        const int l = (19595 * r[x] + 38470 * g[x] + 7471 * b[x] + 32768) >> 16;
                        const int e = yRow[x] - l;
                        columnSums[(x - from) / mcuWidth_] += 3 * e * e;
                    }
                    continue;
                }
                const int half = y / 2;
                const int neighbour = y % 2 ? (half + 1 < chromaRows ? half + 1 : half)
                                            : (half > 0 ? half - 1 : half);
                for (int p = 0; p < 2; ++p)
                    upsampleRow_(chroma[p] + size_t(half) * chromaStride_,
                                 chroma[p] + size_t(neighbour) * chromaStride_,
                                 upsampled_.data() + size_t(p) * lumaStride_, samples, from / 2,
                                 (to + 1) / 2);
                const uint8_t* cbRow = upsampled_.data();
                const uint8_t* crRow = upsampled_.data() + lumaStride_;
                for (int x = from; x < to; x += mcuWidth_) {
                    const int n = to - x < mcuWidth_ ? to - x : mcuWidth_;
                    const uint8_t* bgr[3] = {source.Row(0, y) + x, source.Row(1, y) + x,
                                             source.Row(2, y) + x};
                    columnSums[(x - from) / mcuWidth_] +=
                        colourError_(yRow + x, cbRow + x, crRow + x, bgr, n);
                }
            }
            for (int k = 0; k < last - first; ++k) {
                const double error = double(columnSums[k]) / 3;
                if (columnsOut) columnsOut[first + k] = error;
                sum += error;
            }
        }
        c = end - 1;
    }
    return sum;
}

}  // namespace wexbury
