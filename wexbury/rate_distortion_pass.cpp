#include "wexbury/rate_distortion_pass.h"

namespace wexbury {

RateDistortionPass::RateDistortionPass(const TrellisWeights weights[3]) {
    for (int c = 0; c < 3; ++c) weights_[c] = weights[c];
}

void RateDistortionPass::Requantise(CoefBlock* blocks, const float* exact, const size_t first[3],
                                    const size_t count[3], int componentCount) {
    for (int c = 0; c < componentCount; ++c) {
        const int table = c == 0 ? 0 : 1;
        AcRateModel& model = models_[table];
        CoefBlock* own = blocks + first[c];
        const float* ownExact = exact + 64 * first[c];
        if (!seen_[table]) {
            // The first row: its own rounded symbols are the best guess of what bits cost.
            for (size_t i = 0; i < count[c]; ++i) model.Count(own[i]);
            model.Refit();
            seen_[table] = true;
        }
        const SymbolCosts costs = ScaledCosts(model, weights_[c]);
        for (size_t i = 0; i < count[c]; ++i) {
            TrellisQuantise(ownExact + 64 * i, weights_[c], costs, own[i]);
            model.Count(own[i]);
        }
        model.Refit();
    }
}

}  // namespace wexbury
