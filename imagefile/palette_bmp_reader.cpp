#include "imagefile/palette_bmp_reader.h"

namespace {

constexpr size_t kWidthOffset = 14 + 4;
constexpr size_t kHeightOffset = 14 + 8;
constexpr size_t kBitCountOffset = 14 + 14;

unsigned ReadU16(const uint8_t* at) { return unsigned(at[0]) | unsigned(at[1]) << 8; }

// 8 bits: width bytes plus 4 - width % 4 padding bytes (none for a multiple of 4).
// 4 bits: two pixels a byte, rounded up to a multiple of 4 bytes.
uint64_t RowStride(int width, int bitsPerPixel) {
    uint64_t used = bitsPerPixel == 8 ? uint64_t(width) : (uint64_t(width) + 1) / 2;
    return (used + 3) & ~uint64_t(3);
}

void ReadColorTable(const uint8_t* table, size_t count, std::vector<PaletteColor>& palette) {
    palette.resize(count);
    for (size_t i = 0; i < count; ++i, table += 4)
        palette[i] = PaletteColor{table[2], table[1], table[0]};  // stored blue, green, red, reserved
}

// Stored rows run bottom-up; the index buffer runs top-down.
void ReadRows(const uint8_t* rows, const PaletteBmpLayout& layout, std::vector<uint8_t>& indices) {
    const size_t width = size_t(layout.width), height = size_t(layout.height);
    indices.resize(width * height);
    for (size_t stored = 0; stored < height; ++stored) {
        const uint8_t* in = rows + stored * layout.rowStride;
        uint8_t* out = indices.data() + (height - 1 - stored) * width;
        if (layout.bitsPerPixel == 8) {
            for (size_t x = 0; x < width; ++x) out[x] = in[x];
        } else {
            for (size_t x = 0; x + 1 < width; x += 2, ++in) {  // high nibble is the left pixel
                out[x] = *in >> 4;
                out[x + 1] = *in & 0x0F;
            }
            if (width % 2) out[width - 1] = *in >> 4;
        }
    }
}

}  // namespace

PaletteBmpLayout ReadPaletteBmpLayout(const uint8_t* headers) {
    PaletteBmpLayout layout;
    layout.width = int(ReadU16(headers + kWidthOffset));
    layout.height = int(ReadU16(headers + kHeightOffset));
    layout.bitsPerPixel = int(ReadU16(headers + kBitCountOffset));
    layout.supportedDepth = layout.bitsPerPixel == 8 || layout.bitsPerPixel == 4;
    if (!layout.supportedDepth) return layout;
    layout.colorCount = size_t(1) << layout.bitsPerPixel;
    layout.rowStride = RowStride(layout.width, layout.bitsPerPixel);
    layout.fileSize = kBmpHeadersSize + 4 * layout.colorCount + layout.rowStride * uint64_t(layout.height);
    return layout;
}

PaletteBmpStatus ReadPaletteBmp(const uint8_t* data, size_t size, PaletteImage& image) {
    if (size < kBmpHeadersSize) return PaletteBmpStatus::Malformed;
    const PaletteBmpLayout layout = ReadPaletteBmpLayout(data);
    if (!layout.supportedDepth) return PaletteBmpStatus::OtherDepth;
    // Everything the headers promise must be there before anything is allocated or read.
    if (!layout.FitsIn(size)) return PaletteBmpStatus::Malformed;

    image.width = layout.width;
    image.height = layout.height;
    image.bitsPerPixel = layout.bitsPerPixel;
    const uint8_t* table = data + kBmpHeadersSize;
    ReadColorTable(table, layout.colorCount, image.palette);
    ReadRows(table + 4 * layout.colorCount, layout, image.indices);
    return PaletteBmpStatus::Ok;
}
