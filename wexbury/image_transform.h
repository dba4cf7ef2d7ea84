#pragma once
// Turns pixels into quantised DCT blocks: colour conversion to YCbCr (or luma only), the chroma
// fitted or averaged over 2x2 squares, edge replication up to whole MCUs, then the DCT, and the
// AC values rounded by rate and distortion. Works one MCU row at a time so the float samples stay
// in cache.
#include <cstdint>

#include "wexbury/coefficient_image.h"
#include "wexbury/row_source.h"

namespace wexbury {

// How the AC values are rounded: `leastLambdaScale` above zero by rate and distortion
// (trellis_quantiser.h), zero each to the nearest step; with `steer` a pilot over a sample of the
// rows raises the lambda as far as the picture can spare the error (lambda_pilot.h).
struct RateDistortionSettings {
    float leastLambdaScale = 0;
    bool steer = false;
};

// `lumaQuant` and `chromaQuant` are natural-order tables; chroma is unused for grayscale.
// `fitChroma` fits the chroma to the decoder's interpolation (chroma_fit.h) instead of averaging
// each 2x2 square, unless the pilot finds it saves nothing on this picture. False when memory runs
// out or the pixels cannot be read.
bool TransformImage(RowSource& image, bool grayscale, const uint16_t lumaQuant[64],
                    const uint16_t chromaQuant[64], const RateDistortionSettings& rd,
                    bool fitChroma, CoefficientImage& out);

// Sets up the component grids of a `width` x `height` frame (2x2 chroma in colour) and the room
// for their blocks.
bool LayOutComponents(int width, int height, bool grayscale, CoefficientImage& out);

}  // namespace wexbury
