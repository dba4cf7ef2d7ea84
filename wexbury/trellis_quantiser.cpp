#include "wexbury/trellis_quantiser.h"

#include <bit>
#include <cmath>

#include "wexbury/quant_tables.h"

namespace wexbury {
namespace {

constexpr int kEob = 0x00;
constexpr int kZrl = 0xF0;
// Counts start from half a symbol each, so that a symbol seen once is not deemed free nor an
// unseen one impossible.
constexpr float kPriorCount = 0.5f;
// How many of the nearest earlier values the search tries as the one kept before a value.
constexpr int kCloseChoices = 4;

bool IsAcSymbol(int symbol) {
    const int size = symbol & 15;
    return symbol == kEob || symbol == kZrl || (size >= 1 && size <= 10);
}

int Category(int value) { return std::bit_width(unsigned(value < 0 ? -value : value)); }

float RunBits(const AcRateModel& rates, int run, int value) {
    const int size = Category(value);
    return float(run >> 4) * rates.SymbolBits(kZrl) + rates.SymbolBits((run & 15) << 4 | size) +
           float(size);
}

}  // namespace

AcRateModel::AcRateModel() {
    for (int s = 0; s < 256; ++s) {
        counts_[s] = 0;
        bits_[s] = 8;
    }
}

void AcRateModel::Count(const CoefBlock& block) {
    int last = 0;
    for (uint64_t pending = block.nonzero & ~uint64_t(1); pending; pending &= pending - 1) {
        const int k = std::countr_zero(pending);
        const int run = k - last - 1;
        counts_[kZrl] += uint32_t(run >> 4);
        ++counts_[(run & 15) << 4 | Category(block.zz[k])];
        last = k;
    }
    if (last != 63) ++counts_[kEob];
}

void AcRateModel::Refit() {
    double total = 0;
    for (int s = 0; s < 256; ++s)
        if (IsAcSymbol(s)) total += counts_[s] + kPriorCount;
    const double totalBits = std::log2(total);
    for (int s = 0; s < 256; ++s)
        bits_[s] = IsAcSymbol(s) ? float(totalBits - std::log2(counts_[s] + kPriorCount)) : 16.0f;
}

TrellisWeights MakeTrellisWeights(const uint16_t quant[64], const uint16_t lumaQuant[64],
                                  float distortionWeight, float lambdaScale) {
    float weights[64];
    for (float& w : weights) w = distortionWeight;
    return MakeTrellisWeights(quant, lumaQuant, weights, lambdaScale);
}

TrellisWeights MakeTrellisWeights(const uint16_t quant[64], const uint16_t lumaQuant[64],
                                  const float distortionWeight[64], float lambdaScale) {
    TrellisWeights w;
    for (int k = 0; k < 64; ++k) {
        const int natural = kZigzagToNatural[k];
        const float step = float(quant[natural]);
        w.stepSquared[k] = step * step * distortionWeight[natural];
    }
    // Proportional to the step, not its square: at high qualities most of the error is the
    // chroma subsampling's, which the quantiser cannot change, so bits are worth relatively more.
    const float dcStep = float(lumaQuant[0]);
    w.lambda = lambdaScale * 16.0f * dcStep;
    return w;
}

SymbolCosts ScaledCosts(const AcRateModel& rates, const TrellisWeights& weights) {
    SymbolCosts costs;
    for (int s = 0; s < 256; ++s) costs.cost[s] = weights.lambda * rates.SymbolBits(s);
    return costs;
}

void TrellisQuantise(const float exact[64], const TrellisWeights& weights,
                     const SymbolCosts& costs, CoefBlock& block) {
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
        const int k = std::countr_zero(pending);
        position[n] = k;
        rounded[n] = block.zz[k];
        zeroError[n] = weights.stepSquared[k] * exact[k] * exact[k];
        if (n > 1) zeroedBefore[n] = zeroedBefore[n - 1] + zeroError[n - 1];
        ++n;
    }
    if (n == 1) return;

    const float* cost = costs.cost;
    const float zrlCost = cost[kZrl];

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
            const int size = Category(candidates[c]);
            const float* symbolCost = cost + size;  // + (run & 15) * 16 picks the symbol
            const float extra = error + weights.lambda * float(size);
            // The kept value before this one: one of the kCloseChoices nearest, or none (the
            // DC). Dropping more values in a row than that almost never pays, and the search
            // stays linear in the block's values.
            float skipped = 0;  // error of the values zeroed between j and i
            const int nearest = i - kCloseChoices > 1 ? i - kCloseChoices : 1;
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
            const float fromDc = zeroedBefore[i] + extra + float(run >> 4) * zrlCost +
                                 symbolCost[(run & 15) << 4];
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
        const float eob = position[j] == 63 ? 0.0f : cost[kEob];
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

double TrellisCost(const float exact[64], const TrellisWeights& weights, const AcRateModel& rates,
                   const CoefBlock& block) {
    double error = 0;
    for (int k = 1; k < 64; ++k) {
        const double e = exact[k] - block.zz[k];
        error += weights.stepSquared[k] * e * e;
    }
    double bits = 0;
    int last = 0;
    for (int k = 1; k < 64; ++k) {
        if (block.zz[k] == 0) continue;
        bits += RunBits(rates, k - last - 1, block.zz[k]);
        last = k;
    }
    if (last != 63) bits += rates.SymbolBits(kEob);
    return error + weights.lambda * bits;
}

}  // namespace wexbury
