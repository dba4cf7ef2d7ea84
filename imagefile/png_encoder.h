#pragma once
// Our PNG encoder (platform-free). Lossless: an image of at most 256 colours becomes a palette image
// at the smallest bit depth that holds its colours (1, 2, 4 or 8 bits a pixel), any other a 24-bit
// RGB image. Each RGB row takes the filter that suits it best; the rows are deflated by zlib.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace PngEncoder {

struct Options {
    // zlib's level, 1 (fastest) to 9 (smallest).
    int compressionLevel = 4;
    // A fixed filter type (0-4) for every row, or -1: each row's best guess (RGB) and no filter
    // (palette images, whose indices do not predict each other).
    int filter = -1;
    // False always writes RGB, whatever the number of colours.
    bool allowPalette = true;
};

// `pixels`: rows of 32-bit pixels (blue, green, red, unused byte), top row first, `stride` bytes
// apart. The whole file; empty when the size is 0 or less, or more than PNG allows.
std::vector<uint8_t> Encode(const uint8_t* pixels, int width, int height, size_t stride,
                            const Options& options = Options());

// The bit depth a palette of `colorCount` colours is written at: 1, 2, 4 or 8.
int PaletteBitDepth(int colorCount);

}  // namespace PngEncoder
