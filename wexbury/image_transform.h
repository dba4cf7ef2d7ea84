#pragma once
// Turns pixels into quantised DCT blocks: colour conversion to YCbCr (or luma only), 2x2 chroma
// averaging, edge replication up to whole MCUs, then the DCT. Works one MCU row at a time so the
// float samples stay in cache.
#include <cstdint>

#include "wexbury/coefficient_image.h"
#include "wexbury/row_source.h"

namespace wexbury {

// `lumaQuant` and `chromaQuant` are natural-order tables; chroma is unused for grayscale.
// False when memory runs out or the pixels cannot be read.
bool TransformImage(RowSource& image, bool grayscale, const uint16_t lumaQuant[64],
                    const uint16_t chromaQuant[64], CoefficientImage& out);

}  // namespace wexbury
