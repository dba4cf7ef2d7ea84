#pragma once
// The trellis's search of one block (trellis_quantiser.h), for the files that build it: the
// portable one and the SSE2 one, which the 32-bit build compiles for SSE arithmetic in place of
// the x87's. Everything here has internal linkage, so that neither file's code can stand in for
// the other's when the linker merges copies.
#include <cmath>
#include <cstdint>

#include "wexbury/trellis_quantiser.h"

namespace wexbury {
namespace {

// How many of the nearest earlier values the search tries as the one kept before a value.
constexpr int kSearchCloseChoices = 4;
constexpr int kSearchEob = 0x00, kSearchZrl = 0xF0;

inline int SearchCategory(int value) {
    const unsigned magnitude = unsigned(value < 0 ? -value : value);
    return magnitude ? 32 - __builtin_clz(magnitude) : 0;
}

void TrellisSearch(const float exact[64], const TrellisWeights& weights, const SymbolCosts& costs,
                   CoefBlock& block) {
    // Only positions that round to non-zero are choices; the others are zero either way.
    int position[64];
    int16_t rounded[64];
    float zeroError[64];
    int n = 1;
    position[0] = 0;  // the DC: every run starts after it or after a kept value
    zeroError[0] = 0;
    float zeroedBefore[64];  // error of zeroing every choice before choice i
    zeroedBefore[0] = zeroedBefore[1] = 0;
    for (uint64_t pending = block.nonzero & ~uint64_t(1); pending; pending &= pending - 1) {
        const int k = __builtin_ctzll(pending);
        position[n] = k;
        rounded[n] = block.zz[k];
        zeroError[n] = weights.stepSquared[k] * exact[k] * exact[k];
        if (n > 1) zeroedBefore[n] = zeroedBefore[n - 1] + zeroError[n - 1];
        ++n;
    }
    if (n == 1) return;

    const float* cost = costs.cost;
    const float zrlCost = cost[kSearchZrl];

    // best[i]: least cost of coding up to position[i] with a value kept there; value[i] is that
    // value and from[i] the kept position before it.
    float best[64];
    int16_t value[64];
    int from[64];
    best[0] = 0;
    for (int i = 1; i < n; ++i) {
        const int k = position[i];
        const int16_t r = rounded[i];
        best[i] = INFINITY;
        // Rounded, or one step nearer zero (zero itself is the choice to skip the position).
        // The step down only pays where it drops a size category: otherwise it costs the same
        // bits for more error.
        const int16_t candidates[2] = {r, int16_t(r > 0 ? r - 1 : r + 1)};
        const int magnitude = r < 0 ? -r : r;
        const int candidateCount = magnitude > 1 && (magnitude & (magnitude - 1)) == 0 ? 2 : 1;
        for (int c = 0; c < candidateCount; ++c) {
            const float e = exact[k] - float(candidates[c]);
            const float error = weights.stepSquared[k] * e * e;
            const int size = SearchCategory(candidates[c]);
            const float* symbolCost = cost + size;  // + (run & 15) * 16 picks the symbol
            const float extra = error + weights.lambda * float(size);
            // The kept value before this one: one of the kCloseChoices nearest, or none (the
            // DC). Dropping more values in a row than that almost never pays, and the search
            // stays linear in the block's values.
            float skipped = 0;  // error of the values zeroed between j and i
            const int nearest = i - kSearchCloseChoices > 1 ? i - kSearchCloseChoices : 1;
            for (int j = i - 1; j >= nearest; --j) {
                const int run = k - position[j] - 1;
                const float total = best[j] + skipped + extra + float(run >> 4) * zrlCost +
                                    symbolCost[(run & 15) << 4];
                if (total < best[i]) {
                    best[i] = total;
                    value[i] = candidates[c];
                    from[i] = j;
                }
                skipped += zeroError[j];
            }
            const int run = k - 1;
            const float fromDc =
                zeroedBefore[i] + extra + float(run >> 4) * zrlCost + symbolCost[(run & 15) << 4];
            if (fromDc < best[i]) {
                best[i] = fromDc;
                value[i] = candidates[c];
                from[i] = 0;
            }
        }
    }

    // The block ends after its last kept value, with an EOB unless that is coefficient 63.
    float bestTotal = INFINITY;
    int last = 0;
    float tail = 0;  // error of zeroing everything after position[j]
    for (int j = n - 1; j >= 0; --j) {
        const float eob = position[j] == 63 ? 0.0f : cost[kSearchEob];
        const float total = best[j] + tail + eob;
        if (total < bestTotal) {
            bestTotal = total;
            last = j;
        }
        tail += zeroError[j];
    }

    for (int i = 1; i < n; ++i) block.zz[position[i]] = 0;
    uint64_t nonzero = block.nonzero & 1;
    for (int i = last; i > 0; i = from[i]) {
        block.zz[position[i]] = value[i];
        nonzero |= uint64_t(1) << position[i];
    }
    block.nonzero = nonzero;
}

}  // namespace
}  // namespace wexbury
