#pragma once
// Baseline (sequential) coding of one block: the DC difference, then run/size symbols for the
// non-zero AC coefficients in zigzag order, ZRL for runs past 15, and EOB unless coefficient 63
// ends the block.
#include <bit>

#include "wexbury/coefficient_block.h"
#include "wexbury/entropy_sink.h"

namespace wexbury {

template <class Out>
inline void EncodeSequentialBlock(const BlockView& block, int& lastDc, int dcSlot, int acSlot,
                                  Out& out) {
    const int dcValue = block.Dc();
    const CodedValue dc = CodeValue(dcValue - lastDc);
    lastDc = dcValue;
    out.SymbolWithBits(dcSlot, dc.category, dc.bits, dc.category);

    const int16_t* value = block.values + (block.nonzero & 1);
    uint64_t pending = block.nonzero & ~uint64_t(1);
    int last = 0;
    while (pending) {
        const int k = std::countr_zero(pending);
        pending &= pending - 1;
        int run = k - last - 1;
        while (run > 15) {
            out.Symbol(acSlot, 0xF0);
            run -= 16;
        }
        const CodedValue ac = CodeValue(*value++);
        out.SymbolWithBits(acSlot, run << 4 | ac.category, ac.bits, ac.category);
        last = k;
    }
    if (last != 63) out.Symbol(acSlot, 0x00);
}

}  // namespace wexbury
