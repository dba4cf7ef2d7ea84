#pragma once
// Turns pixels into quantised DCT blocks: colour conversion to YCbCr (or luma only), 2x2 chroma
// averaging, edge replication up to whole MCUs, then the DCT. Works one MCU row at a time so the
// float samples stay in cache.
#include <cstdint>

#include "wexbury/coefficient_image.h"
#include "wexbury/row_source.h"

namespace wexbury {

// `lumaQuant` and `chromaQuant` are natural-order tables; chroma is unused for grayscale.
// `lambdaScale` above zero rounds the AC values by rate and distortion (trellis_quantiser.h),
// zero rounds each to the nearest step. `fitChroma` fits the chroma to the decoder's
// interpolation (chroma_fit.h) instead of averaging each 2x2 square. False when memory runs out
// or the pixels cannot be read.
bool TransformImage(RowSource& image, bool grayscale, const uint16_t lumaQuant[64],
                    const uint16_t chromaQuant[64], float lambdaScale, bool fitChroma,
                    CoefficientImage& out);

}  // namespace wexbury
