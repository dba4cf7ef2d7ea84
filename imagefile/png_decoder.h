#pragma once
// Our PNG decoder (platform-free): every colour type and bit depth of the format, interlaced or
// not, into 32-bit pixels. 16-bit samples keep their high byte; transparent and translucent pixels
// are laid over white, the colour of an empty page. Decoding works row by row, so an image takes
// no more memory than its 32-bit pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace PngDecoder {

enum class Status {
    kDecoded,
    kNotPng,     // another kind of file, or a PNG damaged anywhere (bad CRC, cut short, bad data)
    kTooLarge,   // a picture beyond ImageFileCheck's limits
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // width x height pixels of blue, green, red, 0; top row first
};

// Decodes a whole file held in memory. `image` is filled only when the result is kDecoded.
Status Decode(const uint8_t* file, size_t size, Image& image);

struct Header {
    int64_t width = 0;
    int64_t height = 0;
    int bitDepth = 0;
    int colorType = 0;
    bool interlaced = false;
};
// Reads and checks the IHDR chunk, which must come first: false when it is missing, damaged or
// describes a combination the format does not have.
bool ReadHeader(const uint8_t* file, size_t size, Header& header);

}  // namespace PngDecoder
