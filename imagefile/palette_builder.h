#pragma once
// The 8-bit version of a true-colour image that the GIF encoder starts from (platform-free): with
// at most 256 distinct colours exactly those colours (lossless); with more, a palette fitted to the
// image's own colours, each pixel taking the entry nearest to its colour. No dithering: a capture's
// flat areas stay flat, which keeps them sharp and the GIF small. The same pixels always give the
// same result.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace PaletteBuilder {

struct Indexed {
    std::vector<uint8_t> colorTable;  // always 256 entries of 4 bytes: blue, green, red, 0
    std::vector<uint8_t> indices;     // width x height, top row first
    bool exact = false;               // true when every pixel kept its colour
    int colorCount = 0;               // the entries in use: the image's colours when exact, else 256
};

// `pixels`: rows of 32-bit pixels (blue, green, red, unused byte), top row first, `stride` bytes
// apart. Unused table entries are black. A width or height of 0 or less gives no indices.
Indexed Build(const uint8_t* pixels, int width, int height, size_t stride);

// Only the lossless case of Build: true, with the image's own colours in order of first appearance,
// when it has at most 256; false as soon as a 257th colour turns up (nothing is fitted then).
bool BuildExactOnly(const uint8_t* pixels, int width, int height, size_t stride, Indexed& out);

// The number of distinct colours, counted up to `limit`: limit + 1 means "more than limit".
size_t CountColors(const uint8_t* pixels, int width, int height, size_t stride, size_t limit);

}  // namespace PaletteBuilder
