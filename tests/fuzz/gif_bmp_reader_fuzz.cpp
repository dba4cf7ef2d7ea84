// fuzz-sources: imagefile/palette_bmp_reader.cpp imagefile/gif_lzw_coder.cpp imagefile/gif_encoder.cpp
// Arbitrary bytes taken as a BMP file. The reader must refuse them or read them without stepping
// outside the input, and whatever it accepts must come out as a GIF that decodes to its pixels.
#include <cstdlib>
#include <vector>

#include "imagefile/gif_encoder.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// A plain GIF LZW decoder over the image data of `gif`, starting at `at`: the pixels it yields.
std::vector<uint8_t> DecodeImageData(const std::vector<uint8_t>& gif, size_t at) {
    const unsigned rootBits = gif.at(at++);
    std::vector<uint8_t> data;
    while (gif.at(at) != 0) {
        const size_t length = gif.at(at);
        Check(at + 1 + length < gif.size());
        data.insert(data.end(), gif.begin() + at + 1, gif.begin() + at + 1 + length);
        at += 1 + length;
    }
    Check(at + 2 == gif.size() && gif[at + 1] == 0x3B);

    const uint32_t clear = 1u << rootBits, end = clear + 1;
    std::vector<uint16_t> prefix(4096);
    std::vector<uint8_t> suffix(4096), first(4096), pixels, string;
    for (uint32_t i = 0; i < clear; ++i) suffix[i] = first[i] = uint8_t(i);
    uint32_t next = clear + 2, width = rootBits + 1;
    int previous = -1;
    for (size_t bit = 0;;) {
        Check(bit + width <= data.size() * 8);
        uint32_t code = 0;
        for (uint32_t i = 0; i < width; ++i, ++bit) code |= uint32_t(data[bit / 8] >> (bit % 8) & 1) << i;
        if (code == clear) { next = clear + 2; width = rootBits + 1; previous = -1; continue; }
        if (code == end) break;
        Check(code < next + (previous >= 0 ? 1 : 0));
        if (previous >= 0 && next < 4096) {
            prefix[next] = uint16_t(previous);
            first[next] = first[previous];
            suffix[next] = first[code == next ? previous : code];
            ++next;
        }
        string.clear();
        for (uint32_t c = code; ; c = prefix[c]) { string.push_back(suffix[c]); if (c < clear) break; }
        pixels.insert(pixels.end(), string.rbegin(), string.rend());
        if (next == (1u << width) && width < 12) ++width;
        previous = int(code);
    }
    return pixels;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> gif;
    if (EncodeGifFromBmpBytes(data, size, gif) != PaletteBmpStatus::Ok) {
        Check(gif.empty());
        return 0;
    }
    PaletteImage image;
    Check(ReadPaletteBmp(data, size, image) == PaletteBmpStatus::Ok);
    const size_t colors = image.palette.size();
    Check(gif.size() > 13 + 3 * colors + 11);
    Check(gif[6] + 256 * gif[7] == image.width && gif[8] + 256 * gif[9] == image.height);
    Check(gif[13 + 3 * colors] == 0x2C);
    Check(DecodeImageData(gif, 13 + 3 * colors + 10) == image.indices);
    return 0;
}
