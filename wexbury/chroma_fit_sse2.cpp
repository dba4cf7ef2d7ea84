// The chroma fit's steps in SSE2. In the 32-bit Windows build only this file is compiled with
// -msse2, and it runs only after the processor has said it has SSE2.
#include "wexbury/chroma_fit_steps.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include "wexbury/colour_convert.h"
#include "wexbury/sse2_entry.h"

namespace wexbury {
namespace {

inline __m128 Load(const float* p) { return _mm_loadu_ps(p); }
inline __m128 Times(float k, __m128 v) { return _mm_mul_ps(_mm_set1_ps(k), v); }
inline __m128 Taps(__m128 centre, __m128 one, __m128 two, __m128 three) {
    return _mm_add_ps(_mm_add_ps(_mm_add_ps(Times(kFitTap[0], centre), Times(kFitTap[1], one)),
                                 Times(kFitTap[2], two)),
                      Times(kFitTap[3], three));
}

WEXBURY_SSE2_ENTRY void AcrossSse2(const float* y, int count, float* out) {
    int i = 0;
    for (; i + 4 <= count; i += 4)
        _mm_storeu_ps(out + i, Taps(Load(y + i), _mm_add_ps(Load(y + i - 1), Load(y + i + 1)),
                                    _mm_add_ps(Load(y + i - 2), Load(y + i + 2)),
                                    _mm_add_ps(Load(y + i - 3), Load(y + i + 3))));
    if (i < count) ChromaFitStepsPortable().across(y + i, count - i, out + i);
}

WEXBURY_SSE2_ENTRY void TransposeSse2(const float* a, const float* b, const float* c,
                                      const float* d, int count, float* out) {
    int i = 0;
    for (; i + 4 <= count; i += 4)
        _mm_storeu_ps(
            out + i,
            _mm_add_ps(_mm_add_ps(Load(a + i), Times(3.0f, _mm_add_ps(Load(b + i), Load(c + i)))),
                       Load(d + i)));
    if (i < count)
        ChromaFitStepsPortable().transpose(a + i, b + i, c + i, d + i, count - i, out + i);
}

WEXBURY_SSE2_ENTRY void DownSse2(const float* const y[7], int count, float* out) {
    int i = 0;
    const __m128 low = _mm_set1_ps(-128.0f), high = _mm_set1_ps(127.0f);
    for (; i + 4 <= count; i += 4) {
        const __m128 v = Taps(Load(y[3] + i), _mm_add_ps(Load(y[2] + i), Load(y[4] + i)),
                              _mm_add_ps(Load(y[1] + i), Load(y[5] + i)),
                              _mm_add_ps(Load(y[0] + i), Load(y[6] + i)));
        _mm_storeu_ps(out + i, _mm_max_ps(_mm_min_ps(v, high), low));
    }
    if (i < count) {
        const float* rest[7];
        for (int k = 0; k < 7; ++k) rest[k] = y[k] + i;
        ChromaFitStepsPortable().down(rest, count - i, out + i);
    }
}

WEXBURY_SSE2_ENTRY void ConvertSse2(const int32_t* b, const int32_t* g, const int32_t* r, int count,
                                    float* cb, float* cr) {
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128 fb = _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i)));
        const __m128 fg = _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(g + i)));
        const __m128 fr = _mm_cvtepi32_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(r + i)));
        _mm_storeu_ps(cb + i, _mm_add_ps(_mm_add_ps(Times(kCbB, fb), Times(kCbG, fg)),
                                         Times(kCbR, fr)));
        _mm_storeu_ps(cr + i, _mm_add_ps(_mm_add_ps(Times(kCrB, fb), Times(kCrG, fg)),
                                         Times(kCrR, fr)));
    }
    if (i < count) ChromaFitStepsPortable().convert(b + i, g + i, r + i, count - i, cb + i, cr + i);
}

}  // namespace

ChromaFitSteps ChromaFitStepsSse2() {
    if (!IfSse2(&AcrossSse2)) return ChromaFitSteps{};
    return ChromaFitSteps{&AcrossSse2, &TransposeSse2, &DownSse2, &ConvertSse2};
}

}  // namespace wexbury

#else

namespace wexbury {
ChromaFitSteps ChromaFitStepsSse2() { return ChromaFitSteps{}; }
}  // namespace wexbury

#endif
