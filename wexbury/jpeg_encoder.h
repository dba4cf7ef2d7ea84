#pragma once
// Encodes a picture as a JFIF file in memory: baseline or progressive, colour (4:2:0) or grayscale,
// always with Huffman tables fitted to the image.
#include "wexbury/byte_sink.h"
#include "wexbury/rgb_image.h"
#include "wexbury/row_source.h"
#include "wexbury/trellis_quantiser.h"

namespace wexbury {

struct JpegOptions {
    int quality = 75;  // 0..100; 0 acts as 1, values outside are clamped
    bool progressive = false;
    bool grayscale = false;
    bool smoothing = false;
    // Rounds each block's AC values by rate and distortion (trellis_quantiser.h): smaller files
    // for nearly the same error. Zero rounds every value to the nearest step, as plain encoders do.
    float rateDistortionLambda = kDefaultLambdaScale;
    // Lets that lambda rise as far as the picture can spare the error: what the chroma fit saves
    // against plain averaging, and 0.02 dB more (lambda_pilot.h).
    bool steerLambda = true;
    // Chroma fitted to the decoder's interpolation (chroma_fit.h) rather than the plain 2x2
    // average: 0.3 to 1.5 dB more on screenshots, which the steered lambda turns into fewer
    // bytes. Both this and the lambda off give what the IJG encoder gives.
    bool fitChroma = true;
};

// False when memory runs out, the pixels cannot be read or the image is empty; `out` then holds
// no usable file.
bool EncodeJpeg(RowSource& image, const JpegOptions& options, ByteSink& out);
bool EncodeJpeg(const RgbImage& image, const JpegOptions& options, ByteSink& out);

}  // namespace wexbury
