#pragma once
// One quantised 8x8 block as the entropy coders want it: zigzag order plus a bit set of the
// non-zero positions, so they can jump from one non-zero coefficient to the next.
#include <cstdint>

namespace wexbury {

struct CoefBlock {
    int16_t zz[64];
    uint64_t nonzero;  // bit k set when zz[k] != 0
};

}  // namespace wexbury
