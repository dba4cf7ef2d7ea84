// The SSE2 steps of the pilot's sample decoder. In the 32-bit Windows build only this file is
// compiled with -msse2, and it runs only after the processor has said it has SSE2. Each step
// does the portable step's arithmetic in the same order, so both give the same samples and sums.
#include "wexbury/sample_decoder.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include "wexbury/sse2_entry.h"

namespace wexbury {
namespace {

inline __m128i Widen8(const uint8_t* p) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                             _mm_setzero_si128());
}

// Rounds four values to samples as ToSample does: 1.5 * 2^23 added leaves the whole number in
// the low bits.
inline __m128i Rounded(__m128 v) {
    const __m128 r = _mm_add_ps(v, _mm_set1_ps(128.0f + 12582912.0f));
    return _mm_sub_epi32(_mm_and_si128(_mm_castps_si128(r), _mm_set1_epi32(0x7FFFFF)),
                         _mm_set1_epi32(0x400000));
}

WEXBURY_SSE2_ENTRY void InverseDctSse2Impl(const float coef[64], uint8_t* out, int stride) {
    const float* across = InverseDctBasisAcross();  // across[u * 8 + x]
    const float* basis = InverseDctBasis();         // basis[y * 8 + v]
    __m128 lo[8], hi[8];
    int rows = 0;  // bit v: row v of the coefficients has a value
    for (int v = 0; v < 8; ++v) {
        const float* c = coef + v * 8;
        const __m128 zero = _mm_setzero_ps();
        const int empty = _mm_movemask_ps(_mm_cmpeq_ps(_mm_loadu_ps(c), zero)) &
                          _mm_movemask_ps(_mm_cmpeq_ps(_mm_loadu_ps(c + 4), zero));
        if (empty == 0xF) continue;
        rows |= 1 << v;
        __m128 sLo = zero, sHi = zero;
        for (int u = 0; u < 8; ++u) {
            const __m128 k = _mm_set1_ps(c[u]);
            sLo = _mm_add_ps(sLo, _mm_mul_ps(_mm_loadu_ps(across + u * 8), k));
            sHi = _mm_add_ps(sHi, _mm_mul_ps(_mm_loadu_ps(across + u * 8 + 4), k));
        }
        lo[v] = sLo;
        hi[v] = sHi;
    }
    for (int y = 0; y < 8; ++y) {
        __m128 sLo = _mm_setzero_ps(), sHi = _mm_setzero_ps();
        for (int v = 0; v < 8; ++v) {
            if (!(rows >> v & 1)) continue;  // adds nothing but a zero
            const __m128 b = _mm_set1_ps(basis[y * 8 + v]);
            sLo = _mm_add_ps(sLo, _mm_mul_ps(b, lo[v]));
            sHi = _mm_add_ps(sHi, _mm_mul_ps(b, hi[v]));
        }
        const __m128i words = _mm_packs_epi32(Rounded(sLo), Rounded(sHi));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + y * stride),
                         _mm_packus_epi16(words, words));
    }
}

WEXBURY_SSE2_ENTRY void UpsampleRowSse2Impl(const uint8_t* near, const uint8_t* far, uint8_t* out,
                                            int samples, int first, int end) {
    if (end > samples) end = samples;
    if (first >= end) return;
    int i = first;
    if (i == 0) {  // the row's first sample repeats itself
        UpsampleRowPortable(near, far, out, samples, 0, 1);
        i = 1;
    }
    const __m128i three = _mm_set1_epi16(3);
    // Eight samples at a time while the eight after them are all inside the row.
    for (; i + 8 <= end && i + 8 < samples; i += 8) {
        auto column = [&](int at) {
            return _mm_add_epi16(_mm_mullo_epi16(Widen8(near + at), three), Widen8(far + at));
        };
        const __m128i before = column(i - 1), at = column(i), after = column(i + 1);
        const __m128i thrice = _mm_mullo_epi16(at, three);
        const __m128i even =
            _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(thrice, before), _mm_set1_epi16(8)), 4);
        const __m128i odd =
            _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(thrice, after), _mm_set1_epi16(7)), 4);
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(out + 2 * i),
            _mm_packus_epi16(_mm_unpacklo_epi16(even, odd), _mm_unpackhi_epi16(even, odd)));
    }
    UpsampleRowPortable(near, far, out, samples, i, end);
}

// `pairs` multiplied pairwise by (low, high) and summed, then shifted down 16: the common
// decoder's fixed-point shares, four lanes at a time.
inline __m128i Share(__m128i pairsLo, __m128i pairsHi, int low, int high, int rounding) {
    const __m128i k = _mm_set1_epi32(int(uint32_t(uint16_t(high)) << 16 | uint16_t(low)));
    const __m128i r = _mm_set1_epi32(rounding);
    return _mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(pairsLo, k), r), 16),
                           _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(pairsHi, k), r), 16));
}

inline __m128i SquaredDifference(__m128i decoded, const uint8_t* source) {
    const __m128i clamped =
        _mm_min_epi16(_mm_max_epi16(decoded, _mm_setzero_si128()), _mm_set1_epi16(255));
    const __m128i d = _mm_sub_epi16(clamped, Widen8(source));
    return _mm_madd_epi16(d, d);
}

WEXBURY_SSE2_ENTRY int64_t ColourErrorSse2Impl(const uint8_t* y, const uint8_t* cb,
                                               const uint8_t* cr, const uint8_t* const bgr[3],
                                               int count) {
    // The conversion's constants split so that each fits 16 bits: 1.402 = 1 + 26345 / 65536,
    // 1.772 = 2 - 14942 / 65536, and 0.71414 = 1 - 18734 / 65536.
    const __m128i centre = _mm_set1_epi16(128), two = _mm_set1_epi16(2);
    __m128i sum = _mm_setzero_si128();
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m128i luma = Widen8(y + x);
        const __m128i b = _mm_sub_epi16(Widen8(cb + x), centre);
        const __m128i r = _mm_sub_epi16(Widen8(cr + x), centre);
        const __m128i red = _mm_add_epi16(
            _mm_add_epi16(luma, r),
            Share(_mm_unpacklo_epi16(r, two), _mm_unpackhi_epi16(r, two), 26345, 16384, 0));
        const __m128i blue = _mm_add_epi16(
            _mm_add_epi16(luma, _mm_add_epi16(b, b)),
            Share(_mm_unpacklo_epi16(b, two), _mm_unpackhi_epi16(b, two), -14942, 16384, 0));
        const __m128i green = _mm_add_epi16(
            _mm_sub_epi16(luma, r),
            Share(_mm_unpacklo_epi16(b, r), _mm_unpackhi_epi16(b, r), -22554, 18734, 32768));
        sum = _mm_add_epi32(sum, SquaredDifference(blue, bgr[0] + x));
        sum = _mm_add_epi32(sum, SquaredDifference(green, bgr[1] + x));
        sum = _mm_add_epi32(sum, SquaredDifference(red, bgr[2] + x));
    }
    alignas(16) int32_t lanes[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes), sum);
    int64_t total = int64_t(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
    if (x < count) {
        const uint8_t* rest[3] = {bgr[0] + x, bgr[1] + x, bgr[2] + x};
        total += ColourErrorPortable(y + x, cb + x, cr + x, rest, count - x);
    }
    return total;
}

}  // namespace

InverseDctFn InverseDctSse2() { return IfSse2<InverseDctFn>(&InverseDctSse2Impl); }
UpsampleRowFn UpsampleRowSse2() { return IfSse2<UpsampleRowFn>(&UpsampleRowSse2Impl); }
ColourErrorFn ColourErrorSse2() { return IfSse2<ColourErrorFn>(&ColourErrorSse2Impl); }

}  // namespace wexbury

#else

namespace wexbury {
InverseDctFn InverseDctSse2() { return nullptr; }
UpsampleRowFn UpsampleRowSse2() { return nullptr; }
ColourErrorFn ColourErrorSse2() { return nullptr; }
}  // namespace wexbury

#endif
