#include "wexbury/forward_dct.h"

#include "wexbury/aan_dct.h"
#include "wexbury/quant_tables.h"

namespace wexbury {
namespace {

const double kAanScale[8] = {1.0,         1.387039845, 1.306562965, 1.175875602,
                             1.0,         0.785694958, 0.541196100, 0.275899379};

int16_t RoundToInt16(float v) {
    // Half away from zero, as integer encoders divide.
    return int16_t(v >= 0 ? int(v + 0.5f) : -int(-v + 0.5f));
}

}  // namespace

void PrepareDivisors(const uint16_t quant[64], QuantDivisors& divisors) {
    for (int row = 0; row < 8; ++row) {
        for (int col = 0; col < 8; ++col) {
            const double d = quant[row * 8 + col] * kAanScale[row] * kAanScale[col] * 8.0;
            divisors.natural[row * 8 + col] = float(1.0 / d);
            divisors.transposed[col * 8 + row] = float(1.0 / d);
        }
    }
}

void DctQuantisePortable(const float* samples, ptrdiff_t stride, const QuantDivisors& divisors,
                         CoefBlock& out, float exact[64]) {
    float w[64];
    for (int r = 0; r < 8; ++r) {
        const float* s = samples + r * stride;
        float* d = w + r * 8;
        for (int c = 0; c < 8; ++c) d[c] = s[c];
        AanDct8(d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7]);
    }
    for (int c = 0; c < 8; ++c) {
        float* d = w + c;
        AanDct8(d[0], d[8], d[16], d[24], d[32], d[40], d[48], d[56]);
    }
    uint64_t nonzero = 0;
    for (int k = 0; k < 64; ++k) {
        const int n = kZigzagToNatural[k];
        exact[k] = w[n] * divisors.natural[n];
        const int16_t q = RoundToInt16(exact[k]);
        out.zz[k] = q;
        nonzero |= uint64_t(q != 0) << k;
    }
    out.nonzero = nonzero;
}

DctQuantiseFn BestDctQuantise() {
    static const DctQuantiseFn best = [] {
        const DctQuantiseFn simd = DctQuantiseSse2();
        return simd ? simd : &DctQuantisePortable;
    }();
    return best;
}

}  // namespace wexbury
