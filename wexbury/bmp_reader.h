#pragma once
// Reads the BMP files the capture program writes: a 14-byte file header, an info header of 40 bytes
// or more, a colour table for 1, 4 and 8 bits, and uncompressed rows (bottom-up, or top-down when
// the height is negative) at depths 1, 4, 8, 16 (5-5-5), 24 and 32 (blue, green, red, unused).
//
// Everything the headers claim is checked against the bytes actually there before it is used, so
// a truncated or lying file is refused instead of being read past its end.
#include <cstddef>
#include <cstdint>

#include "wexbury/heap_buffer.h"
#include "wexbury/rgb_image.h"

namespace wexbury {

enum class BmpError {
    None,
    CannotOpen,     // missing or unreadable file
    NotBmp,         // no "BM" signature or a header too short for its own fields
    Unsupported,    // depth, compression, plane count or header kind we do not read
    BadDimensions,  // zero, negative width, or larger than we are willing to encode
    Truncated,      // the colour table or the rows reach past the end of the file
    OutOfMemory,
};

// JPEG frames hold 16-bit sizes; the pixel cap keeps a hostile header from asking for gigabytes.
constexpr int kMaxBmpSide = 65535;
constexpr uint64_t kMaxBmpPixels = uint64_t(1) << 27;

// Decodes `file` (the whole file's bytes, taken over) into `image`.
BmpError DecodeBmp(HeapBuffer<uint8_t> file, RgbImage& image);

// Reads the whole file at `path` and decodes it.
BmpError ReadBmpFile(const char* path, RgbImage& image);

// Reads a whole file into `bytes`; false if it cannot be opened or read.
bool ReadWholeFile(const char* path, HeapBuffer<uint8_t>& bytes);

}  // namespace wexbury
