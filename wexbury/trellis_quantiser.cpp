#include "wexbury/trellis_quantiser.h"

#include <bit>
#include <cmath>

#include "wexbury/quant_tables.h"
#include "wexbury/trellis_search.h"

namespace wexbury {
namespace {

constexpr int kEob = 0x00;
constexpr int kZrl = 0xF0;
// Counts start from half a symbol each, so that a symbol seen once is not deemed free nor an
// unseen one impossible.
constexpr float kPriorCount = 0.5f;

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

void TrellisQuantisePortable(const float exact[64], const TrellisWeights& weights,
                             const SymbolCosts& costs, CoefBlock& block) {
    TrellisSearch(exact, weights, costs, block);
}

void TrellisQuantise(const float exact[64], const TrellisWeights& weights,
                     const SymbolCosts& costs, CoefBlock& block) {
    static const TrellisQuantiseFn search = [] {
        const TrellisQuantiseFn simd = TrellisQuantiseSse2();
        return simd ? simd : &TrellisQuantisePortable;
    }();
    search(exact, weights, costs, block);
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
