// The SSE2 steps of the area average. In the 32-bit Windows build only this file is compiled with
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

// One pixel, each channel paired with zero.
inline __m128i OneOf(const uint8_t* p) {
    int bytes;
    std::memcpy(&bytes, p, 4);
    const __m128i zero = _mm_setzero_si128();
    return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), zero), zero);
}

inline __m128i PixelSum(const uint8_t* p, const int16_t* weight, int count) {
    __m128i sum = _mm_setzero_si128();
    int i = 0;
    // Two pixels a step: each 32-bit lane gets w0 * channel0 + w1 * channel1.
    for (; i + 1 < count; i += 2, p += 8) {
        const __m128i w = _mm_set1_epi32(int(uint16_t(weight[i])) | int(weight[i + 1]) << 16);
        sum = _mm_add_epi32(sum, _mm_madd_epi16(PairOf(p), w));
    }
    if (i < count) sum = _mm_add_epi32(sum, _mm_madd_epi16(OneOf(p), _mm_set1_epi32(weight[i])));
    return _mm_srai_epi32(sum, kAcrossShift);
}

// A target sample of at most four weights, four source pixels read at once.
inline __m128i FourSum(const uint8_t* p, const int32_t* pairs) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i lo = _mm_unpacklo_epi8(pixels, zero), hi = _mm_unpackhi_epi8(pixels, zero);
    const __m128i p01 = _mm_unpacklo_epi16(lo, _mm_unpackhi_epi64(lo, lo));
    const __m128i p23 = _mm_unpacklo_epi16(hi, _mm_unpackhi_epi64(hi, hi));
    const __m128i sum = _mm_add_epi32(_mm_madd_epi16(p01, _mm_set1_epi32(pairs[0])),
                                      _mm_madd_epi16(p23, _mm_set1_epi32(pairs[1])));
    return _mm_srai_epi32(sum, kAcrossShift);
}

inline __m128i TargetSum(const uint8_t* row, const Axis& across, int t) {
    if (across.fourFit[size_t(t)])
        return FourSum(row + 4 * across.first[size_t(t)], across.firstPairs.data() + 2 * t);
    return PixelSum(row + 4 * across.first[size_t(t)], across.weight.data() + across.offset[size_t(t)],
                    across.offset[size_t(t) + 1] - across.offset[size_t(t)]);
}

#if defined(__GNUC__) && defined(__i386__)
__attribute__((force_align_arg_pointer))
#endif
void AcrossSse2Impl(const uint8_t* row, const Axis& across, int targetWidth, int16_t* out) {
    int t = 0;
    if (across.halves) {
        // The 50 % view: four pixels make two targets, each pair weighted half and half.
        const __m128i zero = _mm_setzero_si128();
        const __m128i half = _mm_set1_epi32(int(1 << (kWeightBits - 1)) * 0x10001);
        for (; t + 1 < targetWidth; t += 2) {
            const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 8 * t));
            const __m128i lo = _mm_unpacklo_epi8(pixels, zero), hi = _mm_unpackhi_epi8(pixels, zero);
            const __m128i a = _mm_madd_epi16(_mm_unpacklo_epi16(lo, _mm_unpackhi_epi64(lo, lo)), half);
            const __m128i b = _mm_madd_epi16(_mm_unpacklo_epi16(hi, _mm_unpackhi_epi64(hi, hi)), half);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * t),
                             _mm_packs_epi32(_mm_srai_epi32(a, kAcrossShift), _mm_srai_epi32(b, kAcrossShift)));
        }
    }
    for (; t + 1 < targetWidth; t += 2)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * t),
                         _mm_packs_epi32(TargetSum(row, across, t), TargetSum(row, across, t + 1)));
    if (t < targetWidth) {
        const __m128i a = TargetSum(row, across, t);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * t), _mm_packs_epi32(a, a));
    }
}

#if defined(__GNUC__) && defined(__i386__)
__attribute__((force_align_arg_pointer))
#endif
void DownSse2Impl(const int16_t* const* rows, const int16_t* weights, int count, int lanes, uint8_t* out) {
    int l = 0;
    for (; l + 8 <= lanes; l += 8) {
        __m128i lo = _mm_set1_epi32(kDownRounding), hi = lo;
        int i = 0;
        // Two rows a step: their lanes paired, each 32-bit lane w0 * a + w1 * b.
        for (; i + 1 < count; i += 2) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[i] + l));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[i + 1] + l));
            const __m128i w = _mm_set1_epi32(int(uint16_t(weights[i])) | int(weights[i + 1]) << 16);
            lo = _mm_add_epi32(lo, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), w));
            hi = _mm_add_epi32(hi, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), w));
        }
        if (i < count) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[i] + l));
            const __m128i w = _mm_set1_epi32(int(uint16_t(weights[i])));
            const __m128i zero = _mm_setzero_si128();
            lo = _mm_add_epi32(lo, _mm_madd_epi16(_mm_unpacklo_epi16(a, zero), w));
            hi = _mm_add_epi32(hi, _mm_madd_epi16(_mm_unpackhi_epi16(a, zero), w));
        }
        const __m128i words = _mm_packs_epi32(_mm_srai_epi32(lo, kDownShift), _mm_srai_epi32(hi, kDownShift));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + l), _mm_packus_epi16(words, words));
    }
    for (; l < lanes; ++l) {
        int32_t sum = kDownRounding;
        for (int i = 0; i < count; ++i) sum += int32_t(weights[i]) * rows[i][l];
        out[l] = uint8_t(sum >> kDownShift);
    }
}

}  // namespace

AcrossFn AcrossSse2() {
#if defined(__GNUC__) && defined(__i386__)
    if (!__builtin_cpu_supports("sse2")) return nullptr;
#endif
    return &AcrossSse2Impl;
}

DownFn DownSse2() {
#if defined(__GNUC__) && defined(__i386__)
    if (!__builtin_cpu_supports("sse2")) return nullptr;
#endif
    return &DownSse2Impl;
}

}  // namespace AreaAverage

#else

namespace AreaAverage {
AcrossFn AcrossSse2() { return nullptr; }
DownFn DownSse2() { return nullptr; }
}  // namespace AreaAverage

#endif
