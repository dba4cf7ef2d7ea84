#pragma once
// Blocks kept for a while with only what is needed of them: each block's non-zero values, and the
// exact values (before rounding) at those positions, the only ones the trellis reads. A screen's
// blocks are mostly flat, so a kept row takes a small part of its whole blocks' memory, and only
// the memory written is ever touched: fresh pages cost more than the copying saves.
#include <cstddef>
#include <cstdint>

#include "wexbury/coefficient_block.h"
#include "wexbury/heap_buffer.h"

namespace wexbury {

class PackedBlocks {
public:
    // Room for `blocks` blocks however full.
    bool Allocate(size_t blocks);
    size_t Size() const { return count_; }

    // Keeps `count` blocks and their exact values (64 a block, zigzag order) after the others.
    void Append(const CoefBlock* blocks, const float* exact, size_t count);
    // Blocks first .. first + count - 1 whole; `exact` (64 a block) gets the values at each
    // block's non-zero positions, the rest of it is left as it was.
    void Unpack(size_t first, size_t count, CoefBlock* blocks, float* exact) const;
    // Whether `block` has the values kept block `index` has.
    bool Same(size_t index, const CoefBlock& block) const;

private:
    size_t count_ = 0, values_ = 0;
    HeapBuffer<uint64_t> nonzero_;
    HeapBuffer<size_t> start_;  // per block: where its values begin
    HeapBuffer<int16_t> value_;
    HeapBuffer<float> exact_;
};

}  // namespace wexbury
