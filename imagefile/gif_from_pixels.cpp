#include "imagefile/gif_from_pixels.h"

#include <utility>

#include "imagefile/gif_encoder.h"
#include "imagefile/palette_builder.h"

bool GifCanHold(int width, int height) {
    return width > 0 && height > 0 && width <= kGifMaxSide && height <= kGifMaxSide;
}

std::string GifTooLargeMessage(int width, int height) {
    return "A GIF image can be at most " + std::to_string(kGifMaxSide) + " pixels wide and " +
           std::to_string(kGifMaxSide) + " pixels high.\nThis image is " + std::to_string(width) + " x " +
           std::to_string(height) + " pixels: save it as BMP or JPEG, or make it smaller.";
}

std::vector<uint8_t> EncodeGifFromPixels(const uint8_t* pixels, int width, int height, size_t stride) {
    if (!GifCanHold(width, height)) return {};
    PaletteBuilder::Indexed indexed = PaletteBuilder::Build(pixels, width, height, stride);
    PaletteImage image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = 8;
    image.palette.resize(256);
    for (size_t i = 0; i < image.palette.size(); ++i) {
        const uint8_t* entry = &indexed.colorTable[4 * i];  // blue, green, red, 0
        image.palette[i] = {entry[2], entry[1], entry[0]};
    }
    image.indices = std::move(indexed.indices);
    return EncodeGif(image);
}
