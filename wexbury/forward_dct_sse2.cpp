// The SSE2 forward DCT. In the 32-bit Windows build only this file is compiled with -msse2, and
// it is used only after the processor has said it has SSE2; it therefore keeps clear of any
// inline library code that the linker could share with files built without SSE2.
#include "wexbury/forward_dct.h"

#if defined(__SSE2__)
#include <emmintrin.h>

#include "wexbury/aan_dct.h"
#include "wexbury/quant_tables.h"
#include "wexbury/sse2_entry.h"

namespace wexbury {
namespace {

struct F4 {
    __m128 v;
};
inline F4 operator+(F4 a, F4 b) { return {_mm_add_ps(a.v, b.v)}; }
inline F4 operator-(F4 a, F4 b) { return {_mm_sub_ps(a.v, b.v)}; }
inline F4 operator*(F4 a, float k) { return {_mm_mul_ps(a.v, _mm_set1_ps(k))}; }

inline void Transpose4(F4& a, F4& b, F4& c, F4& d) { _MM_TRANSPOSE4_PS(a.v, b.v, c.v, d.v); }

// Zigzag position k -> index in the column-major block the SIMD transform leaves behind. Built at
// compile time: nothing in this file may run before the processor check.
struct TransposedZigzag {
    uint8_t index[64];
};
constexpr TransposedZigzag MakeTransposedZigzag() {
    TransposedZigzag t{};
    for (int k = 0; k < 64; ++k)
        t.index[k] = uint8_t((kZigzagToNatural[k] % 8) * 8 + kZigzagToNatural[k] / 8);
    return t;
}
constexpr TransposedZigzag kTransposedZigzag = MakeTransposedZigzag();

WEXBURY_SSE2_ENTRY void DctQuantiseSse2Impl(const float* samples, ptrdiff_t stride,
                                            const QuantDivisors& divisors, CoefBlock& out,
                                            float exact[64]) {
    F4 l[8], r[8];
    const __m128 first = _mm_set1_ps(samples[0]);
    __m128 same = _mm_castsi128_ps(_mm_set1_epi32(-1));
    for (int i = 0; i < 8; ++i) {
        l[i].v = _mm_loadu_ps(samples + i * stride);
        r[i].v = _mm_loadu_ps(samples + i * stride + 4);
        same = _mm_and_ps(same, _mm_and_ps(_mm_cmpeq_ps(l[i].v, first), _mm_cmpeq_ps(r[i].v, first)));
    }
    if (_mm_movemask_ps(same) == 0xF) {
        // A flat block, as most of a screen is: the transform's only non-zero output is the DC,
        // 64 times the sample exactly (sums of equal values double exactly).
        const __m128 zero = _mm_setzero_ps();
        for (int k = 0; k < 64; k += 4) _mm_storeu_ps(exact + k, zero);
        for (int k = 0; k < 64; k += 8)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out.zz + k), _mm_setzero_si128());
        exact[0] = samples[0] * 64.0f * divisors.natural[0];
        out.zz[0] = int16_t(_mm_cvtss_si32(_mm_set_ss(exact[0])));  // as the full path rounds
        out.nonzero = out.zz[0] != 0;
        return;
    }
    // Columns first: each lane is one column, the butterflies run down the rows.
    AanDct8(l[0], l[1], l[2], l[3], l[4], l[5], l[6], l[7]);
    AanDct8(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]);

    // Transpose the 8x8 as four 4x4 tiles: [A B; C D] -> [A' C'; B' D'].
    Transpose4(l[0], l[1], l[2], l[3]);
    Transpose4(l[4], l[5], l[6], l[7]);
    Transpose4(r[0], r[1], r[2], r[3]);
    Transpose4(r[4], r[5], r[6], r[7]);
    F4 tl[8] = {l[0], l[1], l[2], l[3], r[0], r[1], r[2], r[3]};
    F4 tr[8] = {l[4], l[5], l[6], l[7], r[4], r[5], r[6], r[7]};

    // Then rows: afterwards tl[h]/tr[h] hold horizontal frequency h, vertical frequency by lane.
    AanDct8(tl[0], tl[1], tl[2], tl[3], tl[4], tl[5], tl[6], tl[7]);
    AanDct8(tr[0], tr[1], tr[2], tr[3], tr[4], tr[5], tr[6], tr[7]);

    int16_t q[64];  // column-major
    float scaled[64];
    const float* recip = divisors.transposed;
    for (int h = 0; h < 8; ++h) {
        const __m128 lo = _mm_mul_ps(tl[h].v, _mm_loadu_ps(recip + h * 8));
        const __m128 hi = _mm_mul_ps(tr[h].v, _mm_loadu_ps(recip + h * 8 + 4));
        _mm_storeu_ps(scaled + h * 8, lo);
        _mm_storeu_ps(scaled + h * 8 + 4, hi);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(q + h * 8),
                         _mm_packs_epi32(_mm_cvtps_epi32(lo), _mm_cvtps_epi32(hi)));
    }
    for (int k = 0; k < 64; ++k) {
        out.zz[k] = q[kTransposedZigzag.index[k]];
        exact[k] = scaled[kTransposedZigzag.index[k]];
    }

    const __m128i zero = _mm_setzero_si128();
    uint64_t zeroMask = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out.zz + i * 16));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out.zz + i * 16 + 8));
        const __m128i z = _mm_packs_epi16(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(b, zero));
        zeroMask |= uint64_t(uint32_t(_mm_movemask_epi8(z))) << (16 * i);
    }
    out.nonzero = ~zeroMask;
}

}  // namespace

DctQuantiseFn DctQuantiseSse2() { return IfSse2<DctQuantiseFn>(&DctQuantiseSse2Impl); }

}  // namespace wexbury

#else

namespace wexbury {
DctQuantiseFn DctQuantiseSse2() { return nullptr; }
}  // namespace wexbury

#endif
