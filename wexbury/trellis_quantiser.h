#pragma once
// Rate-distortion optimised quantisation of the AC coefficients ("trellis" quantisation): per
// block, among the values plain rounding gives, the same values one step nearer zero, and zero,
// the choice that minimises squared error plus lambda times the bits the baseline
// run/size symbols cost. A coefficient that costs many bits and buys little accuracy, such as a
// lone 1 after a long run of zeros, is dropped; the rest of the block stays as rounded.
//
// The bit costs come from the symbols of the blocks already coded in the image (AcRateModel),
// which is what the Huffman tables fitted later will reflect.
#include <cstdint>

#include "wexbury/coefficient_block.h"

namespace wexbury {

// Cost in bits of each AC run/size symbol (plus EOB and ZRL), from counts of the symbols coded so
// far. Unseen symbols get a finite cost, so every choice has a price.
class AcRateModel {
public:
    AcRateModel();

    // Adds the symbols the sequential coding of `block` would send.
    void Count(const CoefBlock& block);
    // Turns the counts into costs; until the first refit every symbol costs the same.
    void Refit();

    float SymbolBits(int symbol) const { return bits_[symbol]; }

private:
    uint32_t counts_[256];
    float bits_[256];
};

struct TrellisWeights {
    float stepSquared[64];  // (quantiser step * distortion weight) squared, zigzag order
    float lambda;           // squared error one bit is worth
};

// `quant` in natural order; `distortionWeight` says how much a unit of error in this component
// shows in the picture; `lambdaScale` is lambda in units of 16 luma DC steps.
TrellisWeights MakeTrellisWeights(const uint16_t quant[64], const uint16_t lumaQuant[64],
                                  float distortionWeight, float lambdaScale);
// The same with a weight for each coefficient (natural order).
TrellisWeights MakeTrellisWeights(const uint16_t quant[64], const uint16_t lumaQuant[64],
                                  const float distortionWeight[64], float lambdaScale);

// The lambda scale used by the encoder.
inline constexpr float kDefaultLambdaScale = 0.025f;

// The model's bit costs times lambda, made once per refit rather than per block.
struct SymbolCosts {
    float cost[256];
};
SymbolCosts ScaledCosts(const AcRateModel& rates, const TrellisWeights& weights);

// Rewrites the AC values of `block` (rounded from `exact`, zigzag order, in quantiser steps) with
// the cheapest choice. The DC is left alone. Each value keeps its sign and never grows.
void TrellisQuantise(const float exact[64], const TrellisWeights& weights,
                     const SymbolCosts& costs, CoefBlock& block);
using TrellisQuantiseFn = void (*)(const float exact[64], const TrellisWeights& weights,
                                   const SymbolCosts& costs, CoefBlock& block);
// The same search built for any processor, and for SSE arithmetic (null when this build or this
// processor has no SSE2). Both make the same choices but where floating-point rounding differs.
void TrellisQuantisePortable(const float exact[64], const TrellisWeights& weights,
                             const SymbolCosts& costs, CoefBlock& block);
TrellisQuantiseFn TrellisQuantiseSse2();

// The cost the trellis minimises, for tests: squared error of the AC values plus lambda times
// their bits.
double TrellisCost(const float exact[64], const TrellisWeights& weights, const AcRateModel& rates,
                   const CoefBlock& block);

}  // namespace wexbury
