#include "wexbury/colour_convert.h"

namespace wexbury {
namespace {

constexpr float kYr = 0.299f, kYg = 0.587f, kYb = 0.114f;

// Luma as three table look-ups and two adds; the -128 centring rides in the red table.
struct LumaTables {
    float r[256], g[256], b[256];
    LumaTables() {
        for (int i = 0; i < 256; ++i) {
            r[i] = kYr * float(i) - 128.0f;
            g[i] = kYg * float(i);
            b[i] = kYb * float(i);
        }
    }
};
const LumaTables kLuma;

inline float Luma(const uint8_t* p) { return kLuma.b[p[0]] + kLuma.g[p[1]] + kLuma.r[p[2]]; }

// Chroma of the 2x2 square p0 p1 / q0 q1, averaged before conversion (the same, conversion being
// linear, as converting each pixel and averaging the results).
inline void Chroma(const uint8_t* p0, const uint8_t* p1, const uint8_t* q0, const uint8_t* q1,
                   float* cb, float* cr) {
    const float b = float(p0[0] + p1[0] + q0[0] + q1[0]) * 0.25f;
    const float g = float(p0[1] + p1[1] + q0[1] + q1[1]) * 0.25f;
    const float r = float(p0[2] + p1[2] + q0[2] + q1[2]) * 0.25f;
    *cb = kCbR * r + kCbG * g + kCbB * b;
    *cr = kCrR * r + kCrG * g + kCrB * b;
}

}  // namespace

void ConvertRowPair420(const uint8_t* upper, const uint8_t* lower, int width, int paddedWidth,
                       float* lumaUpper, float* lumaLower, float* cb, float* cr) {
    const int pairs = paddedWidth / 2;
    const int wholePairs = width / 2;
    for (int i = 0; i < wholePairs; ++i) {
        const uint8_t* p = upper + 6 * i;
        const uint8_t* q = lower + 6 * i;
        lumaUpper[2 * i] = Luma(p);
        lumaUpper[2 * i + 1] = Luma(p + 3);
        lumaLower[2 * i] = Luma(q);
        lumaLower[2 * i + 1] = Luma(q + 3);
        Chroma(p, p + 3, q, q + 3, cb + i, cr + i);
    }
    // The right edge: the last pixel stands in for everything past the image.
    for (int i = wholePairs; i < pairs; ++i) {
        const int x0 = 2 * i < width ? 2 * i : width - 1;
        const int x1 = 2 * i + 1 < width ? 2 * i + 1 : width - 1;
        const uint8_t *p0 = upper + 3 * x0, *p1 = upper + 3 * x1;
        const uint8_t *q0 = lower + 3 * x0, *q1 = lower + 3 * x1;
        lumaUpper[2 * i] = Luma(p0);
        lumaUpper[2 * i + 1] = Luma(p1);
        lumaLower[2 * i] = Luma(q0);
        lumaLower[2 * i + 1] = Luma(q1);
        Chroma(p0, p1, q0, q1, cb + i, cr + i);
    }
}

void ConvertChromaPair420(const uint8_t* upper, const uint8_t* lower, int width, int paddedWidth,
                          float* cb, float* cr) {
    const int pairs = paddedWidth / 2;
    const int wholePairs = width / 2;
    for (int i = 0; i < wholePairs; ++i) {
        const uint8_t* p = upper + 6 * i;
        const uint8_t* q = lower + 6 * i;
        Chroma(p, p + 3, q, q + 3, cb + i, cr + i);
    }
    for (int i = wholePairs; i < pairs; ++i) {
        const int x0 = 2 * i < width ? 2 * i : width - 1;
        const int x1 = 2 * i + 1 < width ? 2 * i + 1 : width - 1;
        Chroma(upper + 3 * x0, upper + 3 * x1, lower + 3 * x0, lower + 3 * x1, cb + i, cr + i);
    }
}

void ConvertRowLuma(const uint8_t* row, int width, int paddedWidth, float* luma) {
    for (int x = 0; x < width; ++x) luma[x] = Luma(row + 3 * x);
    for (int x = width; x < paddedWidth; ++x) luma[x] = luma[width - 1];
}

}  // namespace wexbury
