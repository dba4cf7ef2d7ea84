#pragma once
// All quantised blocks of the image, per component, kept whole because the Huffman tables are
// fitted in a first pass and progressive files visit every block several times.
#include <cstdint>

#include "wexbury/coefficient_block.h"
#include "wexbury/heap_buffer.h"

namespace wexbury {

struct Component {
    int id = 1;            // component identifier written in the frame header
    int hSamp = 1, vSamp = 1;
    int quantTable = 0;    // 0 luma, 1 chroma; also the Huffman table slot
    int blocksWide = 0, blocksHigh = 0;  // the grid padded to whole MCUs
    int realWide = 0, realHigh = 0;      // blocks holding image samples (non-interleaved scans)
    CoefBlock* blocks = nullptr;         // row-major, blocksWide per row

    CoefBlock& At(int by, int bx) { return blocks[size_t(by) * size_t(blocksWide) + size_t(bx)]; }
    const CoefBlock& At(int by, int bx) const {
        return blocks[size_t(by) * size_t(blocksWide) + size_t(bx)];
    }
};

struct CoefficientImage {
    int width = 0, height = 0;
    int componentCount = 0;
    Component components[3];
    int mcusWide = 0, mcusHigh = 0;
    HeapBuffer<CoefBlock> storage;
};

}  // namespace wexbury
