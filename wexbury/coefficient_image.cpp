#include "wexbury/coefficient_image.h"

#include <bit>

namespace wexbury {

bool CoefficientImage::Allocate() {
    size_t blocks = 0;
    for (int c = 0; c < componentCount; ++c)
        blocks += size_t(components[c].blocksWide) * size_t(components[c].blocksHigh);
    // Offsets are 32-bit: the pixel cap keeps 64 values a block well inside that.
    if (blocks > UINT32_MAX / 64) return false;
    if (!nonzero_.Allocate(blocks) || !firstValue_.Allocate(blocks) ||
        !values_.Allocate(blocks * 64))
        return false;
    size_t next = 0;
    for (int c = 0; c < componentCount; ++c) {
        Component& comp = components[c];
        comp.nonzero = nonzero_.data() + next;
        comp.firstValue = firstValue_.data() + next;
        next += size_t(comp.blocksWide) * size_t(comp.blocksHigh);
    }
    valuesUsed_ = 0;
    return true;
}

void CoefficientImage::Store(int c, int by, int bx, const CoefBlock& block) {
    Component& comp = components[c];
    const size_t i = comp.Index(by, bx);
    comp.nonzero[i] = block.nonzero;
    comp.firstValue[i] = uint32_t(valuesUsed_);
    int16_t* out = values_.data() + valuesUsed_;
    for (uint64_t pending = block.nonzero; pending; pending &= pending - 1)
        *out++ = block.zz[std::countr_zero(pending)];
    valuesUsed_ = size_t(out - values_.data());
}

void CoefficientImage::StoreDcOnly(int c, int by, int bx, int16_t dc) {
    Component& comp = components[c];
    const size_t i = comp.Index(by, bx);
    comp.nonzero[i] = dc != 0;
    comp.firstValue[i] = uint32_t(valuesUsed_);
    if (dc != 0) values_[valuesUsed_++] = dc;
}

}  // namespace wexbury
