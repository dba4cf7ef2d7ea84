#pragma once
// Encodes a picture as a JFIF file in memory: baseline or progressive, colour (4:2:0) or grayscale,
// always with Huffman tables fitted to the image.
#include "wexbury/byte_sink.h"
#include "wexbury/rgb_image.h"
#include "wexbury/row_source.h"

namespace wexbury {

struct JpegOptions {
    int quality = 75;  // 0..100; 0 acts as 1, values outside are clamped
    bool progressive = false;
    bool grayscale = false;
    bool smoothing = false;
};

// False when memory runs out, the pixels cannot be read or the image is empty; `out` then holds
// no usable file.
bool EncodeJpeg(RowSource& image, const JpegOptions& options, ByteSink& out);
bool EncodeJpeg(const RgbImage& image, const JpegOptions& options, ByteSink& out);

}  // namespace wexbury
