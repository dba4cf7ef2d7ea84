#pragma once
// A quantised 8x8 block, in the two forms the encoder uses: the whole block as the DCT leaves it,
// and the packed form that is kept for the entropy passes (only the non-zero coefficients).
#include <cstdint>

namespace wexbury {

// Zigzag order plus the set of non-zero positions.
struct CoefBlock {
    int16_t zz[64];
    uint64_t nonzero;  // bit k set when zz[k] != 0
};

// A stored block: the non-zero coefficients in zigzag order, values[i] belonging to the i-th set
// bit of `nonzero`. Screens are mostly flat, so most blocks hold only a handful.
struct BlockView {
    uint64_t nonzero;
    const int16_t* values;

    int Dc() const { return (nonzero & 1) ? values[0] : 0; }
};

}  // namespace wexbury
