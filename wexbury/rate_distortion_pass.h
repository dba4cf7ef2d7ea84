#pragma once
// Rounds the AC values of an MCU row's blocks by rate and distortion (trellis_quantiser.h), with
// bit costs learnt as the rows go by: the first row's from its own rounded symbols, later rows'
// from what the trellis made of the rows before. The coding runs it over every row; the pilot
// (lambda_pilot.h) over its sample at each lambda it tries, so that it prices values as the
// coding will.
#include <cstddef>

#include "wexbury/row_maker.h"
#include "wexbury/trellis_quantiser.h"

namespace wexbury {

class RateDistortionPass {
public:
    // One set of weights per component (0 luma, 1 Cb, 2 Cr).
    explicit RateDistortionPass(const TrellisWeights weights[3]);

    // The row's blocks of component c are blocks[first[c]] .. blocks[first[c] + count[c] - 1],
    // their exact values 64 a block in the same order.
    void Requantise(CoefBlock* blocks, const float* exact, const size_t first[3],
                    const size_t count[3], int componentCount);
    void Requantise(McuRowBlocks& row, int componentCount) {
        Requantise(row.blocks.data(), row.exact.data(), row.first, row.count, componentCount);
    }

private:
    TrellisWeights weights_[3];
    bool seen_[2] = {false, false};
    AcRateModel models_[2];
};

}  // namespace wexbury
