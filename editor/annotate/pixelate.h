#pragma once
// Redaction: an area replaced by square blocks, each of one colour computed from the pixels under
// it plus a little noise, so that neither a block's detail nor, by reversing an average, its
// original pixels can be recovered. No pixel keeps its original value.
#include <cstdint>

#include "editor/annotate/pixel_blend.h"

namespace Pixelate {

// The side of the blocks for an area: at least 8 pixels, growing with the area so that a large
// region is not left legible in many small blocks.
int BlockSize(int width, int height);

// Replaces the pixels of `region` (clipped to `target.area`) by blocks laid from its top-left
// corner. `seed` chooses the noise: the same seed and pixels give the same blocks.
void Apply(const PixelArea& target, MarkGeometry::Box region, uint32_t seed);

}  // namespace Pixelate
