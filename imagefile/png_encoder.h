#pragma once
// Our PNG encoder (platform-free). Lossless: an image of at most 256 colours becomes a palette image
// at the smallest bit depth that holds its colours (1, 2, 4 or 8 bits a pixel), any other a 24-bit
// RGB image; the rows are deflated by zlib.
//
// Screenshots and photographs want opposite treatment. A screenshot (a few thousand colours: flat
// areas, text and the same widgets again and again) deflates best unfiltered, where its repeats stay
// exact repeats for the compressor to find; filtering turns them into noise (on our benchmark
// screenshots, unfiltered files are 30 % smaller than libpng's adaptively filtered ones). A photograph
// (tens of thousands of colours, smooth gradients) needs the filters, each row taking the one that
// suits it best, and gains nothing from harder searching. The colour count tells the two apart.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace PngEncoder {

struct Options {
    // Up to this many colours an RGB image counts as a screenshot.
    size_t screenshotColors = size_t(1) << 14;
    // zlib's level, 1 (fastest) to 9 (smallest); 0: chosen for the image (7 for palette images
    // and screenshots, 4 for photographs: the levels the benchmark found best for their time).
    int compressionLevel = 0;
    // A fixed filter type (0-4) for every row, or -1: no filter for palette images (their indices
    // do not predict each other) and screenshots, each row's best guess for photographs.
    int filter = -1;
    // False always writes RGB, whatever the number of colours.
    bool allowPalette = true;
    // How many bands of rows of an RGB image are deflated at once; 0: one per processor (at most
    // four), each of at least 64 rows.
    int bands = 0;
};

// `pixels`: rows of 32-bit pixels (blue, green, red, unused byte), top row first, `stride` bytes
// apart. The whole file; empty when the size is 0 or less, or more than PNG allows.
std::vector<uint8_t> Encode(const uint8_t* pixels, int width, int height, size_t stride,
                            const Options& options = Options());

// The bit depth a palette of `colorCount` colours is written at: 1, 2, 4 or 8.
int PaletteBitDepth(int colorCount);

}  // namespace PngEncoder
