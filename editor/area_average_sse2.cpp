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
    if (count == 2) {
        // Two rows, the usual case from 60 % up: one weight pair for the whole row, sixteen lanes
        // a step.
        const __m128i w = _mm_set1_epi32(int(uint16_t(weights[0])) | int(weights[1]) << 16);
        const __m128i rounding = _mm_set1_epi32(kDownRounding);
        for (; l + 16 <= lanes; l += 16) {
            __m128i words[2];
            for (int half = 0; half < 2; ++half) {
                const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[0] + l + 8 * half));
                const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[1] + l + 8 * half));
                const __m128i lo = _mm_add_epi32(rounding, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), w));
                const __m128i hi = _mm_add_epi32(rounding, _mm_madd_epi16(_mm_unpackhi_epi16(a, b), w));
                words[half] = _mm_packs_epi32(_mm_srai_epi32(lo, kDownShift), _mm_srai_epi32(hi, kDownShift));
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + l), _mm_packus_epi16(words[0], words[1]));
        }
    }
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

// Two source vectors (four pixels each) of one row, widened to 16 bits and added to `sum`:
// sum[0] gets pixels 0 and 1, sum[1] pixels 2 and 3, and so on.
inline void AddWidened(const uint8_t* p, int vectors, __m128i* sum) {
    const __m128i zero = _mm_setzero_si128();
    for (int v = 0; v < vectors; ++v) {
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * v));
        sum[2 * v] = _mm_add_epi16(sum[2 * v], _mm_unpacklo_epi8(pixels, zero));
        sum[2 * v + 1] = _mm_add_epi16(sum[2 * v + 1], _mm_unpackhi_epi8(pixels, zero));
    }
}

#if defined(__GNUC__) && defined(__i386__)
__attribute__((force_align_arg_pointer))
#endif
void HalveRowSse2Impl(const uint8_t* const* rows, int targetWidth, uint8_t* out) {
    const __m128i two = _mm_set1_epi16(2);
    int t = 0;
    // Four target pixels a step: eight pixels of each row summed down, then neighbours across.
    for (; t + 4 <= targetWidth; t += 4) {
        __m128i s[4] = {_mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128(), _mm_setzero_si128()};
        AddWidened(rows[0] + 8 * t, 2, s);
        AddWidened(rows[1] + 8 * t, 2, s);
        const __m128i t01 = _mm_add_epi16(_mm_unpacklo_epi64(s[0], s[1]), _mm_unpackhi_epi64(s[0], s[1]));
        const __m128i t23 = _mm_add_epi16(_mm_unpacklo_epi64(s[2], s[3]), _mm_unpackhi_epi64(s[2], s[3]));
        const __m128i r01 = _mm_srli_epi16(_mm_add_epi16(t01, two), 2);
        const __m128i r23 = _mm_srli_epi16(_mm_add_epi16(t23, two), 2);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * t), _mm_packus_epi16(r01, r23));
    }
    if (t < targetWidth) {
        const uint8_t* rest[2] = {rows[0] + 8 * t, rows[1] + 8 * t};
        HalveRowPortable(rest, targetWidth - t, out + 4 * t);
    }
}

// Pixels 0 + 1 + 2 and 3 + 4 + 5 of three 16-bit vectors of two pixels each.
inline __m128i SumOfThrees(__m128i s0, __m128i s1, __m128i s2) {
    const __m128d a = _mm_castsi128_pd(s0), b = _mm_castsi128_pd(s1), c = _mm_castsi128_pd(s2);
    const __m128i p03 = _mm_castpd_si128(_mm_shuffle_pd(a, b, 2));
    const __m128i p14 = _mm_castpd_si128(_mm_shuffle_pd(a, c, 1));
    const __m128i p25 = _mm_castpd_si128(_mm_shuffle_pd(b, c, 2));
    return _mm_add_epi16(_mm_add_epi16(p03, p14), p25);
}

#if defined(__GNUC__) && defined(__i386__)
__attribute__((force_align_arg_pointer))
#endif
void ThirdRowSse2Impl(const uint8_t* const* rows, int targetWidth, uint8_t* out) {
    const __m128i four = _mm_set1_epi16(4);
    // (n * 7282) >> 16 is n / 9 rounded down for every n up to 9 * 255 + 4.
    const __m128i ninth = _mm_set1_epi16(7282);
    int t = 0;
    for (; t + 4 <= targetWidth; t += 4) {
        __m128i s[6];
        for (__m128i& v : s) v = _mm_setzero_si128();
        for (int r = 0; r < 3; ++r) AddWidened(rows[r] + 12 * t, 3, s);
        const __m128i t01 = _mm_add_epi16(SumOfThrees(s[0], s[1], s[2]), four);
        const __m128i t23 = _mm_add_epi16(SumOfThrees(s[3], s[4], s[5]), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * t),
                         _mm_packus_epi16(_mm_mulhi_epu16(t01, ninth), _mm_mulhi_epu16(t23, ninth)));
    }
    if (t < targetWidth) {
        const uint8_t* rest[3] = {rows[0] + 12 * t, rows[1] + 12 * t, rows[2] + 12 * t};
        ThirdRowPortable(rest, targetWidth - t, out + 4 * t);
    }
}

#if defined(__GNUC__) && defined(__i386__)
__attribute__((force_align_arg_pointer))
#endif
void AddRowSse2Impl(const uint8_t* row, int lanes, uint16_t* sums) {
    const __m128i zero = _mm_setzero_si128();
    int l = 0;
    for (; l + 16 <= lanes; l += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + l));
        __m128i* lo = reinterpret_cast<__m128i*>(sums + l);
        __m128i* hi = reinterpret_cast<__m128i*>(sums + l + 8);
        _mm_storeu_si128(lo, _mm_add_epi16(_mm_loadu_si128(lo), _mm_unpacklo_epi8(bytes, zero)));
        _mm_storeu_si128(hi, _mm_add_epi16(_mm_loadu_si128(hi), _mm_unpackhi_epi8(bytes, zero)));
    }
    AddRowPortable(row + l, lanes - l, sums + l);
}

#if defined(__GNUC__) && defined(__i386__)
__attribute__((force_align_arg_pointer))
#endif
void FinishRowSse2Impl(const uint16_t* sums, int factor, int targetWidth, uint8_t* out) {
    const uint32_t area = uint32_t(factor * factor);
    const uint32_t reciprocal = ReciprocalOf(area);
    for (int t = 0; t < targetWidth; ++t) {
        // The four channels of `factor` pixels added in 16-bit lanes (at most 16 x 16 x 255).
        const uint16_t* p = sums + 4 * factor * t;
        __m128i sum = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
        for (int i = 1; i < factor; ++i)
            sum = _mm_add_epi16(sum, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 4 * i)));
        uint16_t channel[8];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(channel), sum);
        for (int c = 0; c < 4; ++c) out[4 * t + c] = RoundedMean(channel[c], area, reciprocal);
    }
}

// The function where the processor has SSE2: asked at run time in the 32-bit build.
template <class Fn>
Fn IfSse2(Fn fn) {
#if defined(__GNUC__) && defined(__i386__)
    if (!__builtin_cpu_supports("sse2")) return nullptr;
#endif
    return fn;
}

}  // namespace

AcrossFn AcrossSse2() { return IfSse2<AcrossFn>(&AcrossSse2Impl); }

DownFn DownSse2() { return IfSse2<DownFn>(&DownSse2Impl); }

BlockRowFn HalveRowSse2() { return IfSse2<BlockRowFn>(&HalveRowSse2Impl); }

BlockRowFn ThirdRowSse2() { return IfSse2<BlockRowFn>(&ThirdRowSse2Impl); }

AddRowFn AddRowSse2() { return IfSse2<AddRowFn>(&AddRowSse2Impl); }

FinishRowFn FinishRowSse2() { return IfSse2<FinishRowFn>(&FinishRowSse2Impl); }

}  // namespace AreaAverage

#else

namespace AreaAverage {
AcrossFn AcrossSse2() { return nullptr; }
DownFn DownSse2() { return nullptr; }
BlockRowFn HalveRowSse2() { return nullptr; }
BlockRowFn ThirdRowSse2() { return nullptr; }
AddRowFn AddRowSse2() { return nullptr; }
FinishRowFn FinishRowSse2() { return nullptr; }
}  // namespace AreaAverage

#endif
