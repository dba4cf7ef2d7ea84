#pragma once
// All quantised blocks of the image, per component, kept whole because the Huffman tables are
// fitted in a first pass and progressive files visit every block several times. Blocks are stored
// packed (see BlockView): a few bytes each instead of 128, which keeps the passes in cache.
#include <cstddef>
#include <cstdint>

#include "wexbury/coefficient_block.h"
#include "wexbury/heap_buffer.h"

namespace wexbury {

struct Component {
    int id = 1;  // component identifier written in the frame header
    int hSamp = 1, vSamp = 1;
    int quantTable = 0;                  // 0 luma, 1 chroma; also the Huffman table slot
    int blocksWide = 0, blocksHigh = 0;  // the grid padded to whole MCUs
    int realWide = 0, realHigh = 0;      // blocks holding image samples (non-interleaved scans)
    uint64_t* nonzero = nullptr;         // per block, row-major, blocksWide per row
    uint32_t* firstValue = nullptr;      // per block: where its values start in the pool

    size_t Index(int by, int bx) const { return size_t(by) * size_t(blocksWide) + size_t(bx); }
};

class CoefficientImage {
public:
    int width = 0, height = 0;
    int componentCount = 0;
    Component components[3];
    int mcusWide = 0, mcusHigh = 0;

    // Sets up the grids and room for every block; false when memory runs out.
    bool Allocate();

    // Stores a block at (by, bx) of component c.
    void Store(int c, int by, int bx, const CoefBlock& block);
    // Stores a block whose only non-zero coefficient may be its DC.
    void StoreDcOnly(int c, int by, int bx, int16_t dc);

    BlockView At(int c, int by, int bx) const {
        const Component& comp = components[c];
        const size_t i = comp.Index(by, bx);
        return BlockView{comp.nonzero[i], values_.data() + comp.firstValue[i]};
    }

private:
    HeapBuffer<uint64_t> nonzero_;
    HeapBuffer<uint32_t> firstValue_;
    // Room for 64 values a block is reserved, but only what is written gets touched.
    HeapBuffer<int16_t> values_;
    size_t valuesUsed_ = 0;
};

}  // namespace wexbury
