#include "wexbury/chroma_fit.h"

namespace wexbury {
namespace {

// Taps of the inverse, (-1/3)^|k| for |k| <= 3, divided by their sum times the 2 that the
// transpose's weights 1, 3, 3, 1 (over 4) give a flat area, so flat chroma stays as it is.
constexpr float kTapSum = 1.0f - 2.0f / 3 + 2.0f / 9 - 2.0f / 27;
constexpr float kNorm = 1.0f / (kTapSum * 8.0f);
constexpr float kTap[4] = {kNorm, -kNorm / 3, kNorm / 9, -kNorm / 27};

constexpr float kCbR = -0.168735892f, kCbG = -0.331264108f, kCbB = 0.5f;
constexpr float kCrR = 0.5f, kCrG = -0.418687589f, kCrB = -0.081312411f;

struct ChromaTables {
    float cb[3][256], cr[3][256];  // by blue, green, red
    ChromaTables() {
        for (int i = 0; i < 256; ++i) {
            cb[0][i] = kCbB * float(i);
            cb[1][i] = kCbG * float(i);
            cb[2][i] = kCbR * float(i);
            cr[0][i] = kCrB * float(i);
            cr[1][i] = kCrG * float(i);
            cr[2][i] = kCrR * float(i);
        }
    }
};
const ChromaTables kChroma;

// The transpose of the interpolation, then the inverse's taps, along a line of `pairs` outputs.
// `x` holds 2 * pairs samples with 8 more repeated at each end (x[-8] .. x[2 * pairs + 7]);
// `y` is scratch of pairs + 6 with 3 more at each end.
void FitLine(const float* x, int pairs, float* y, float* out) {
    for (int i = -3; i < pairs + 3; ++i)
        y[i] = x[2 * i - 1] + 3.0f * (x[2 * i] + x[2 * i + 1]) + x[2 * i + 2];
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
    // Full row with 8 repeated samples at each end, plus y scratch with 3 at each end.
    const size_t fullLine = size_t(paddedWidth) + 16;
    return full_.Allocate(2 * fullLine + size_t(pairs_) + 6 + 16) &&
           filtered_.Allocate(size_t(kSlots) * 2 * size_t(pairs_));
}

void ChromaFit::FilterSourceRow(int v, const uint8_t* pixels) {
    const int padded = 2 * pairs_;
    const size_t fullLine = size_t(padded) + 16;
    float* cb = full_.data() + 8;
    float* cr = cb + fullLine;
    float* y = full_.data() + 2 * fullLine + 3;
    for (int x = 0; x < width_; ++x) {
        const uint8_t* p = pixels + 3 * x;
        cb[x] = kChroma.cb[0][p[0]] + kChroma.cb[1][p[1]] + kChroma.cb[2][p[2]];
        cr[x] = kChroma.cr[0][p[0]] + kChroma.cr[1][p[1]] + kChroma.cr[2][p[2]];
    }
    for (int x = width_; x < padded + 8; ++x) {
        cb[x] = cb[width_ - 1];
        cr[x] = cr[width_ - 1];
    }
    for (int x = -8; x < 0; ++x) {
        cb[x] = cb[0];
        cr[x] = cr[0];
    }
    const int slot = Slot(v);
    cachedRow_[slot] = v;
    float* out = filtered_.data() + size_t(slot) * 2 * size_t(pairs_);
    FitLine(cb, pairs_, y, out);
    FitLine(cr, pairs_, y, out + pairs_);
}

void ChromaFit::FitColumn(int luma, int plane, float* out) const {
    // The same two steps down the columns: rows luma - 7 .. luma + 8 of the filtered slots.
    const float* row[16];
    for (int m = 0; m < 16; ++m)
        row[m] = filtered_.data() + size_t(Slot(luma - 7 + m)) * 2 * size_t(pairs_) +
                 size_t(plane) * size_t(pairs_);
    for (int i = 0; i < pairs_; ++i) {
        float y[7];
        for (int k = 0; k < 7; ++k) {
            const int m = 2 * k + 1;  // upper row of chroma row k - 3, less one
            y[k] = row[m - 1][i] + 3.0f * (row[m][i] + row[m + 1][i]) + row[m + 2][i];
        }
        out[i] = Clamp(kTap[0] * y[3] + kTap[1] * (y[2] + y[4]) + kTap[2] * (y[1] + y[5]) +
                       kTap[3] * (y[0] + y[6]));
    }
}

}  // namespace wexbury
