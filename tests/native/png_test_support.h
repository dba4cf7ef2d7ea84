#pragma once
// Pictures for the PNG tests, and libpng as the independent decoder and encoder that checks ours.
#include <png.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace PngTest {

// 32-bit pixels (blue, green, red, unused), top row first, rows packed.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> bgrx;
    size_t Stride() const { return size_t(width) * 4; }
    // The pixels as libpng gives them: red, green, blue.
    std::vector<uint8_t> Rgb() const {
        std::vector<uint8_t> rgb;
        for (size_t i = 0; i < bgrx.size(); i += 4) {
            rgb.push_back(bgrx[i + 2]);
            rgb.push_back(bgrx[i + 1]);
            rgb.push_back(bgrx[i]);
        }
        return rgb;
    }
};

// A picture of exactly `colors` distinct colours (every one used when there are enough pixels),
// scattered at random; the unused fourth byte holds noise that must never matter.
inline Picture WithColors(int width, int height, int colors, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint32_t> table;
    for (int i = 0; i < colors; ++i) table.push_back(uint32_t(i) * 0x010305u ^ (uint32_t(i) << 16));
    Picture p{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
        const uint32_t c = table[i < colors ? i : random() % colors];
        p.bgrx.insert(p.bgrx.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), uint8_t(random())});
    }
    return p;
}

// A smooth picture with many colours, like a photograph's gradients.
inline Picture Gradient(int width, int height) {
    Picture p{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.bgrx.insert(p.bgrx.end(), {uint8_t(x * 3 + y), uint8_t(y * 5), uint8_t(x * 7 ^ y), 0});
    return p;
}

struct Decoded {
    bool ok = false;
    int width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    std::vector<uint8_t> rgb;
};

// libpng's decoder: the header as stored, and the pixels expanded to 8-bit RGB.
inline Decoded DecodeWithLibpng(const std::vector<uint8_t>& file) {
    Decoded d;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return d;
    image.format = PNG_FORMAT_RGB;
    d.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, d.rgb.data(), 0, nullptr)) return d;
    d.width = int(image.width);
    d.height = int(image.height);
    d.bitDepth = file[24];
    d.colorType = file[25];
    d.ok = true;
    return d;
}

struct MemoryWriter {
    static void Write(png_structp png, png_bytep data, png_size_t length) {
        auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
        out->insert(out->end(), data, data + length);
    }
    static void Flush(png_structp) {}
};

// libpng's encoder: `rows` already laid out for the colour type and depth given.
inline std::vector<uint8_t> EncodeWithLibpng(int width, int height, int bitDepth, int colorType,
                                             const std::vector<std::vector<uint8_t>>& rows, bool interlaced,
                                             const std::vector<png_color>& palette = {},
                                             const std::vector<uint8_t>& paletteAlpha = {},
                                             const png_color_16* transparent = nullptr) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, MemoryWriter::Write, MemoryWriter::Flush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bitDepth, colorType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), int(palette.size()));
    if (!paletteAlpha.empty())
        png_set_tRNS(png, info, paletteAlpha.data(), int(paletteAlpha.size()), nullptr);
    if (transparent) png_set_tRNS(png, info, nullptr, 0, const_cast<png_color_16*>(transparent));
    std::vector<png_bytep> pointers;
    for (const auto& row : rows) pointers.push_back(const_cast<png_bytep>(row.data()));
    png_set_rows(png, info, pointers.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace PngTest
