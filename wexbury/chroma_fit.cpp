#include "wexbury/chroma_fit.h"

#include "wexbury/colour_convert.h"

namespace wexbury {
namespace {

// Taps of the inverse, (-1/3)^|k| for |k| <= 3, divided by their sum times the 2 that the
// transpose's weights 1, 3, 3, 1 (over 4) give a flat area, so flat chroma stays as it is.
constexpr float kTapSum = 1.0f - 2.0f / 3 + 2.0f / 9 - 2.0f / 27;
constexpr float kNorm = 1.0f / (kTapSum * 8.0f);
constexpr float kTap[4] = {kNorm, -kNorm / 3, kNorm / 9, -kNorm / 27};

constexpr float kCbR = -0.168735892f, kCbG = -0.331264108f, kCbB = 0.5f;
constexpr float kCrR = 0.5f, kCrG = -0.418687589f, kCrB = -0.081312411f;

// The inverse's taps along a line of `pairs` outputs; `y` has 3 more values at each end.
void ApplyTaps(const float* y, int pairs, float* out) {
    for (int i = 0; i < pairs; ++i)
        out[i] = kTap[0] * y[i] + kTap[1] * (y[i - 1] + y[i + 1]) +
                 kTap[2] * (y[i - 2] + y[i + 2]) + kTap[3] * (y[i - 3] + y[i + 3]);
}

inline float Clamp(float v) { return v < -128.0f ? -128.0f : v > 127.0f ? 127.0f : v; }

}  // namespace

bool ChromaFit::Allocate(int width, int paddedWidth) {
    width_ = width;
    pairs_ = paddedWidth / 2;
    for (int& v : cachedRow_) v = -1000000;
    // The transpose's output of one row, two planes with 3 more samples at each end.
    return full_.Allocate(2 * (size_t(pairs_) + 6)) &&
           filtered_.Allocate(size_t(kSlots) * 2 * size_t(pairs_)) &&
           transposed_.Allocate(size_t(kMaxBandRows + 6) * size_t(pairs_)) &&
           averaged_.Allocate(size_t(kMaxBandRows) * 2 * size_t(pairs_));
}

void ChromaFit::AverageRow(const uint8_t* upper, const uint8_t* lower, int r) {
    float* cb = averaged_.data() + size_t(r) * 2 * size_t(pairs_);
    ConvertChromaPair420(upper, lower, width_, 2 * pairs_, cb, cb + pairs_);
}

void ChromaFit::FilterSourceRow(int v, const uint8_t* pixels) {
    // The transpose's weights 1, 3, 3, 1 are applied to the pixels before the colour
    // conversion (both are linear), so only half as many samples are converted.
    float* yCb = full_.data() + 3;
    float* yCr = yCb + pairs_ + 6;
    const int last = width_ - 1;
    auto convert = [&](int i, int b, int g, int r) {
        yCb[i] = kCbB * float(b) + kCbG * float(g) + kCbR * float(r);
        yCr[i] = kCrB * float(b) + kCrG * float(g) + kCrR * float(r);
    };
    auto clamped = [&](int i) {
        int sums[3] = {0, 0, 0};
        const int weight[4] = {1, 3, 3, 1};
        for (int t = 0; t < 4; ++t) {
            int x = 2 * i - 1 + t;
            x = x < 0 ? 0 : x > last ? last : x;
            for (int c = 0; c < 3; ++c) sums[c] += weight[t] * pixels[3 * x + c];
        }
        convert(i, sums[0], sums[1], sums[2]);
    };
    // Pairs whose four pixels all lie inside the row, then the ends (the last pixel repeats
    // into the padding, as the luma does).
    const int firstInside = 1, endInside = (width_ - 2) / 2 + 1 > 1 ? (width_ - 2) / 2 : 1;
    for (int i = -3; i < firstInside; ++i) clamped(i);
    for (int i = firstInside; i < endInside; ++i) {
        const uint8_t* p = pixels + 3 * (2 * i - 1);
        convert(i, p[0] + 3 * (p[3] + p[6]) + p[9], p[1] + 3 * (p[4] + p[7]) + p[10],
                p[2] + 3 * (p[5] + p[8]) + p[11]);
    }
    for (int i = endInside; i < pairs_ + 3; ++i) clamped(i);

    const int slot = Slot(v);
    cachedRow_[slot] = v;
    float* out = filtered_.data() + size_t(slot) * 2 * size_t(pairs_);
    ApplyTaps(yCb, pairs_, out);
    ApplyTaps(yCr, pairs_, out + pairs_);
}

void ChromaFit::FitColumns(int top, int chromaRows, int plane, float* out, int stride) {
    // The same two steps down the columns, a whole row at a time: first the transpose for
    // chroma rows -3 .. chromaRows + 2 of the band, then the inverse's taps over them.
    auto filtered = [&](int v) {
        return filtered_.data() + size_t(Slot(v)) * 2 * size_t(pairs_) + size_t(plane) * size_t(pairs_);
    };
    const int count = chromaRows + 6;
    for (int j = 0; j < count; ++j) {
        const int luma = top + 2 * (j - 3);
        const float* a = filtered(luma - 1);
        const float* b = filtered(luma);
        const float* c = filtered(luma + 1);
        const float* d = filtered(luma + 2);
        float* y = transposed_.data() + size_t(j) * size_t(pairs_);
        for (int i = 0; i < pairs_; ++i) y[i] = a[i] + 3.0f * (b[i] + c[i]) + d[i];
    }
    for (int r = 0; r < chromaRows; ++r) {
        const float* y[7];
        for (int k = 0; k < 7; ++k) y[k] = transposed_.data() + size_t(r + k) * size_t(pairs_);
        float* o = out + size_t(r) * size_t(stride);
        for (int i = 0; i < pairs_; ++i)
            o[i] = Clamp(kTap[0] * y[3][i] + kTap[1] * (y[2][i] + y[4][i]) +
                         kTap[2] * (y[1][i] + y[5][i]) + kTap[3] * (y[0][i] + y[6][i]));
    }
}

}  // namespace wexbury
