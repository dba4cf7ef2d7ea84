#pragma once
// Forward DCT fused with quantisation. The transform is the scaled floating-point AAN DCT; its
// output scale factors are folded into the quantiser's reciprocals, so one multiply per
// coefficient both finishes the transform and quantises.
#include <cstddef>
#include <cstdint>

#include "wexbury/coefficient_block.h"

namespace wexbury {

struct QuantDivisors {
    float natural[64];     // 1 / (q * AAN scale * 8), natural order
    float transposed[64];  // the same, column-major, for the SIMD path
};

void PrepareDivisors(const uint16_t quant[64], QuantDivisors& divisors);

// `samples`: 8 rows of 8 values centred on zero (sample - 128), rows `stride` floats apart.
// `out` gets the rounded values; `exact` (zigzag order) the same values before rounding, in
// quantiser steps, for the rate-distortion pass that may round some of them down.
using DctQuantiseFn = void (*)(const float* samples, ptrdiff_t stride,
                               const QuantDivisors& divisors, CoefBlock& out, float exact[64]);

// Plain C++, any processor.
void DctQuantisePortable(const float* samples, ptrdiff_t stride, const QuantDivisors& divisors,
                         CoefBlock& out, float exact[64]);

// SSE2 intrinsics; null when this build or this processor has none.
DctQuantiseFn DctQuantiseSse2();

// The fastest implementation this processor runs.
DctQuantiseFn BestDctQuantise();

}  // namespace wexbury
