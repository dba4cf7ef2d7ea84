#pragma once
// The first half of coding an MCU row: its pixels fetched, converted to YCbCr (the chroma fitted
// to the decoder's interpolation, or averaged over each 2x2 square) and transformed into blocks.
// Also the trellis's error weights of each component.
#include <cstddef>
#include <cstdint>

#include "wexbury/chroma_fit.h"
#include "wexbury/coefficient_image.h"
#include "wexbury/forward_dct.h"
#include "wexbury/heap_buffer.h"
#include "wexbury/row_source.h"
#include "wexbury/trellis_quantiser.h"

namespace wexbury {

// The trellis weights of each component (0 luma, 1 Cb, 2 Cr) at a lambda scale.
class ComponentWeights {
public:
    ComponentWeights(const uint16_t lumaQuant[64], const uint16_t chromaQuant[64]);
    TrellisWeights At(float scale, int component) const;

private:
    const uint16_t* luma_;
    const uint16_t* chroma_;
    float error_[3][64];
};

// The blocks of one MCU row, all components, as the DCT leaves them.
struct McuRowBlocks {
    HeapBuffer<CoefBlock> blocks;
    HeapBuffer<float> exact;  // 64 a block
    size_t first[3] = {0, 0, 0}, count[3] = {0, 0, 0};
    bool Allocate(size_t n) { return blocks.Allocate(n) && exact.Allocate(n * 64); }
};

// Turns MCU rows of pixels into blocks: colour conversion (or the chroma fit) and the DCT.
class RowMaker {
public:
    RowMaker(RowSource& image, const CoefficientImage& layout, bool grayscale, bool fitChroma,
             const uint16_t lumaQuant[64], const uint16_t chromaQuant[64])
        : image_(image), layout_(layout), grayscale_(grayscale), fit_(fitChroma && !grayscale),
          weights_(lumaQuant, chromaQuant) {
        PrepareDivisors(lumaQuant, divisors_[0]);
        if (!grayscale) PrepareDivisors(chromaQuant, divisors_[1]);
    }

    bool Allocate();
    const ComponentWeights& Weights() const { return weights_; }

    // With `plain`, also the chroma blocks the plain 2x2 averages make (PlainChroma), for the
    // pilot's sample.
    bool Make(int my, McuRowBlocks& row, bool plain);

    // After Make: the band's source rows (MCU height, the picture's last row repeated below it).
    const uint8_t* const* SourceRows() const { return source_; }
    // After Make with `plain` and the fit: the plain averages' Cb blocks, then their Cr blocks.
    const CoefBlock* PlainChroma(int plane) const {
        return plain_.data() + size_t(plane) * chromaBlocksWide_;
    }
    // Their exact values, 64 a block.
    const float* PlainExact(int plane) const {
        return plainExact_.data() + size_t(plane) * chromaBlocksWide_ * 64;
    }
    bool Fits() const { return fit_; }
    // From here on the plain 2x2 averages (the allocations stay; they are not used).
    void DropFit() { fit_ = false; }

private:
    RowSource& image_;
    const CoefficientImage& layout_;
    const bool grayscale_;
    bool fit_;
    ComponentWeights weights_;
    QuantDivisors divisors_[2];
    const DctQuantiseFn dct_ = BestDctQuantise();
    int mcuSide_ = 16, strides_[3] = {0, 0, 0}, chromaBlocksWide_ = 0;
    HeapBuffer<float> strip_;
    float* planes_[3] = {nullptr, nullptr, nullptr};
    ChromaFit chroma_;
    HeapBuffer<CoefBlock> plain_;  // the plain averages' chroma blocks of a sampled row
    HeapBuffer<float> plainExact_;
    const uint8_t* source_[16] = {};
};

}  // namespace wexbury
