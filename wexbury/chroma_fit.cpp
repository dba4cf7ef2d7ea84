#include "wexbury/chroma_fit.h"

#include "wexbury/colour_convert.h"
#include "wexbury/chroma_fit_steps.h"

namespace wexbury {
namespace {

// The inverse's taps along a line of `pairs` outputs; `y` has 3 more values at each end.
void ApplyTaps(const float* y, int pairs, float* out) {
    for (int i = 0; i < pairs; ++i)
        out[i] = kFitTap[0] * y[i] + kFitTap[1] * (y[i - 1] + y[i + 1]) +
                 kFitTap[2] * (y[i - 2] + y[i + 2]) + kFitTap[3] * (y[i - 3] + y[i + 3]);
}

void Transpose(const float* a, const float* b, const float* c, const float* d, int count,
               float* out) {
    for (int i = 0; i < count; ++i) out[i] = a[i] + 3.0f * (b[i] + c[i]) + d[i];
}

inline float Clamp(float v) { return v < -128.0f ? -128.0f : v > 127.0f ? 127.0f : v; }

void Down(const float* const y[7], int count, float* out) {
    for (int i = 0; i < count; ++i)
        out[i] = Clamp(kFitTap[0] * y[3][i] + kFitTap[1] * (y[2][i] + y[4][i]) +
                       kFitTap[2] * (y[1][i] + y[5][i]) + kFitTap[3] * (y[0][i] + y[6][i]));
}

void Convert(const int32_t* b, const int32_t* g, const int32_t* r, int count, float* cb,
             float* cr) {
    for (int i = 0; i < count; ++i) {
        cb[i] = kCbB * float(b[i]) + kCbG * float(g[i]) + kCbR * float(r[i]);
        cr[i] = kCrB * float(b[i]) + kCrG * float(g[i]) + kCrR * float(r[i]);
    }
}

}  // namespace

ChromaFitSteps ChromaFitStepsPortable() {
    return ChromaFitSteps{&ApplyTaps, &Transpose, &Down, &Convert};
}

bool ChromaFit::Allocate(int width, int paddedWidth) {
    width_ = width;
    pairs_ = paddedWidth / 2;
    const ChromaFitSteps simd = ChromaFitStepsSse2();
    steps_ = simd.across ? simd : ChromaFitStepsPortable();
    for (int& v : cachedRow_) v = -1000000;
    // The transpose's output of one row, two planes with 3 more samples at each end.
    return full_.Allocate(2 * (size_t(pairs_) + 6)) && sums_.Allocate(3 * (size_t(pairs_) + 6)) &&
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
    // conversion (both are linear), so only half as many samples are converted. The sums of
    // pairs -3 .. pairs_ + 2 first, one plane of them per channel, then their conversion.
    const int count = pairs_ + 6;
    int32_t* sum[3] = {sums_.data(), sums_.data() + count, sums_.data() + 2 * count};
    const int last = width_ - 1;
    auto clamped = [&](int i) {
        const int weight[4] = {1, 3, 3, 1};
        for (int c = 0; c < 3; ++c) sum[c][i + 3] = 0;
        for (int t = 0; t < 4; ++t) {
            int x = 2 * i - 1 + t;
            x = x < 0 ? 0 : x > last ? last : x;
            for (int c = 0; c < 3; ++c) sum[c][i + 3] += weight[t] * pixels[3 * x + c];
        }
    };
    // Pairs whose four pixels all lie inside the row, then the ends (the last pixel repeats
    // into the padding, as the luma does).
    const int firstInside = 1, endInside = (width_ - 2) / 2 + 1 > 1 ? (width_ - 2) / 2 : 1;
    for (int i = -3; i < firstInside; ++i) clamped(i);
    for (int i = firstInside; i < endInside; ++i) {
        const uint8_t* p = pixels + 3 * (2 * i - 1);
        for (int c = 0; c < 3; ++c) sum[c][i + 3] = p[c] + 3 * (p[c + 3] + p[c + 6]) + p[c + 9];
    }
    for (int i = endInside; i < pairs_ + 3; ++i) clamped(i);
    float* yCb = full_.data();
    float* yCr = yCb + count;
    steps_.convert(sum[0], sum[1], sum[2], count, yCb, yCr);

    const int slot = Slot(v);
    cachedRow_[slot] = v;
    float* out = filtered_.data() + size_t(slot) * 2 * size_t(pairs_);
    steps_.across(yCb + 3, pairs_, out);
    steps_.across(yCr + 3, pairs_, out + pairs_);
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
        steps_.transpose(a, b, c, d, pairs_, transposed_.data() + size_t(j) * size_t(pairs_));
    }
    for (int r = 0; r < chromaRows; ++r) {
        const float* y[7];
        for (int k = 0; k < 7; ++k) y[k] = transposed_.data() + size_t(r + k) * size_t(pairs_);
        steps_.down(y, pairs_, out + size_t(r) * size_t(stride));
    }
}

}  // namespace wexbury
