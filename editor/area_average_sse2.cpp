// The SSE2 reduction across a row. In the 32-bit Windows build only this file is compiled with
// -msse2, and it runs only after the processor has said it has SSE2.
#include "editor/area_average.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include <cstring>

namespace AreaAverage {
namespace {

// Two neighbouring pixels, their channels paired: b0 b1 g0 g1 r0 r1 x0 x1 as 16-bit lanes.
inline __m128i PairOf(const uint8_t* p) {
    const __m128i wide =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
    return _mm_unpacklo_epi16(wide, _mm_unpackhi_epi64(wide, wide));
}

inline __m128i One(const uint8_t* p) {
    int bytes;
    std::memcpy(&bytes, p, 4);
    const __m128i zero = _mm_setzero_si128();
    return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), zero), zero);
}

#if defined(__GNUC__) && defined(__i386__)
__attribute__((force_align_arg_pointer))
#endif
void AcrossSse2Impl(const uint8_t* row, const Axis& across, int targetWidth, uint32_t* sums) {
    const int* first = across.first.data();
    const int* offset = across.offset.data();
    const int16_t* weight = across.weight.data();
    for (int t = 0; t < targetWidth; ++t) {
        const uint8_t* p = row + 4 * first[t];
        int i = offset[t];
        const int end = offset[t + 1];
        __m128i sum = _mm_setzero_si128();
        // Two pixels a step: each 32-bit lane gets w0 * channel0 + w1 * channel1.
        for (; i + 1 < end; i += 2, p += 8) {
            const __m128i w = _mm_set1_epi32(int(uint16_t(weight[i])) | int(weight[i + 1]) << 16);
            sum = _mm_add_epi32(sum, _mm_madd_epi16(PairOf(p), w));
        }
        if (i < end) sum = _mm_add_epi32(sum, _mm_madd_epi16(One(p), _mm_set1_epi32(weight[i])));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 4 * t), sum);
    }
}

}  // namespace

AcrossFn AcrossSse2() {
#if defined(__GNUC__) && defined(__i386__)
    if (!__builtin_cpu_supports("sse2")) return nullptr;
#endif
    return &AcrossSse2Impl;
}

}  // namespace AreaAverage

#else

namespace AreaAverage {
AcrossFn AcrossSse2() { return nullptr; }
}  // namespace AreaAverage

#endif
