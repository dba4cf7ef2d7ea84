#pragma once
// Reads the palette BMPs that GIF saves start from (4 or 8 bits per pixel) into palette indices.
//
// The file is taken strictly in order: a 14-byte file header that is not consulted, a 40-byte info
// header of which only biWidth, biHeight (low 16 bits of each) and biBitCount count, the colour
// table (256 or 16 entries of blue, green, red, reserved) right after it, and the pixel rows right
// after the table, bottom row first, each padded to a multiple of 4 bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kBmpHeadersSize = 14 + 40;

// Images larger than this many pixels are refused: no screen is that big, and a 32-bit process
// could not hold the file, the index buffer and the GIF at once.
constexpr uint64_t kMaxPalettePixels = uint64_t(1) << 28;

struct PaletteColor {
    uint8_t red = 0, green = 0, blue = 0;
};

struct PaletteImage {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 8;               // 8 or 4
    std::vector<PaletteColor> palette;  // 256 or 16 entries, in table order
    std::vector<uint8_t> indices;       // width * height palette indices, top row first
};

// What the two headers say about the file that follows them.
struct PaletteBmpLayout {
    int width = 0, height = 0, bitsPerPixel = 0;
    bool supportedDepth = false;  // 8 or 4 bits per pixel
    size_t colorCount = 0;        // colour-table entries: 256 or 16
    uint64_t rowStride = 0;       // bytes per stored row, padding included
    uint64_t fileSize = 0;        // headers + table + every row

    // Whether an input of `availableBytes` holds the whole image and the image is not absurdly large.
    bool FitsIn(uint64_t availableBytes) const {
        return fileSize <= availableBytes && uint64_t(width) * uint64_t(height) <= kMaxPalettePixels;
    }
};

// `headers` holds kBmpHeadersSize bytes.
PaletteBmpLayout ReadPaletteBmpLayout(const uint8_t* headers);

enum class PaletteBmpStatus {
    Ok,
    OtherDepth,  // the headers are there, but the image is neither 8 nor 4 bits per pixel
    Malformed,   // shorter than its headers promise, or too large to be an image at all
};

// Fills `image` from the `size` bytes at `data`; bytes past the last row are ignored. `image` is
// only meaningful on Ok.
PaletteBmpStatus ReadPaletteBmp(const uint8_t* data, size_t size, PaletteImage& image);
