#include "wexbury/packed_blocks.h"

#include <bit>

namespace wexbury {

bool PackedBlocks::Allocate(size_t blocks) {
    count_ = values_ = 0;
    return nonzero_.Allocate(blocks) && start_.Allocate(blocks) && value_.Allocate(blocks * 64) &&
           exact_.Allocate(blocks * 64);
}

void PackedBlocks::Append(const CoefBlock* blocks, const float* exact, size_t count) {
    for (size_t i = 0; i < count; ++i, ++count_) {
        const CoefBlock& b = blocks[i];
        nonzero_[count_] = b.nonzero;
        start_[count_] = values_;
        for (uint64_t rest = b.nonzero; rest; rest &= rest - 1, ++values_) {
            const int k = std::countr_zero(rest);
            value_[values_] = b.zz[k];
            exact_[values_] = exact[64 * i + size_t(k)];
        }
    }
}

void PackedBlocks::Unpack(size_t first, size_t count, CoefBlock* blocks, float* exact) const {
    for (size_t i = 0; i < count; ++i) {
        CoefBlock& b = blocks[i];
        b = CoefBlock{};
        b.nonzero = nonzero_[first + i];
        size_t at = start_[first + i];
        for (uint64_t rest = b.nonzero; rest; rest &= rest - 1, ++at) {
            const int k = std::countr_zero(rest);
            b.zz[k] = value_[at];
            exact[64 * i + size_t(k)] = exact_[at];
        }
    }
}

bool PackedBlocks::Same(size_t index, const CoefBlock& block) const {
    if (block.nonzero != nonzero_[index]) return false;
    size_t at = start_[index];
    for (uint64_t rest = block.nonzero; rest; rest &= rest - 1, ++at)
        if (block.zz[std::countr_zero(rest)] != value_[at]) return false;
    return true;
}

}  // namespace wexbury
