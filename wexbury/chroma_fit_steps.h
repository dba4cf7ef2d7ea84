#pragma once
// The chroma fit's arithmetic along its rows, in steps a processor may do faster (SSE2, in
// chroma_fit_sse2.cpp). Every step gives the same values in each build: the SSE2 steps do each
// output's operations in the portable steps' order.
#include <cstdint>

namespace wexbury {

// Taps of the inverse, (-1/3)^|k| for |k| <= 3, divided by their sum times the 2 that the
// transpose's weights 1, 3, 3, 1 (over 4) give a flat area, so flat chroma stays as it is.
inline constexpr float kFitTapSum = 1.0f - 2.0f / 3 + 2.0f / 9 - 2.0f / 27;
inline constexpr float kFitNorm = 1.0f / (kFitTapSum * 8.0f);
inline constexpr float kFitTap[4] = {kFitNorm, -kFitNorm / 3, kFitNorm / 9, -kFitNorm / 27};

struct ChromaFitSteps {
    // out[i] = the inverse's taps around y[i], i < count; y has 3 more values at each end.
    void (*across)(const float* y, int count, float* out);
    // out[i] = a[i] + 3 (b[i] + c[i]) + d[i]: the transpose down four rows.
    void (*transpose)(const float* a, const float* b, const float* c, const float* d, int count,
                      float* out);
    // out[i] = the inverse's taps down seven rows y[0..6] at i, clamped to -128..127.
    void (*down)(const float* const y[7], int count, float* out);
    // Cb and Cr of `count` sums of blue, green and red.
    void (*convert)(const int32_t* b, const int32_t* g, const int32_t* r, int count, float* cb,
                    float* cr);
};

ChromaFitSteps ChromaFitStepsPortable();
// Null steps when this build or this processor has no SSE2.
ChromaFitSteps ChromaFitStepsSse2();

}  // namespace wexbury
