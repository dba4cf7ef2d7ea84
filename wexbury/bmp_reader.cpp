#include "wexbury/bmp_reader.h"

#include <cstdio>
#include <cstring>

namespace wexbury {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

struct BmpLayout {
    int width = 0;
    int height = 0;          // always positive here
    bool topDown = false;
    int bitCount = 0;
    uint64_t stride = 0;     // bytes per stored row, padded to 4
    size_t pixelOffset = 0;  // bfOffBits
    size_t paletteOffset = 0;
    uint32_t paletteEntries = 0;
};

BmpError ParseHeaders(const uint8_t* file, size_t size, BmpLayout& layout) {
    if (size < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M') return BmpError::NotBmp;
    const uint32_t infoSize = Le32(file + kFileHeaderSize);
    // 12-byte core headers use another layout; 40 and the longer versions share the first 40 bytes.
    if (infoSize < kInfoHeaderSize) return BmpError::Unsupported;
    if (size < kFileHeaderSize + kInfoHeaderSize) return BmpError::NotBmp;
    if (uint64_t(kFileHeaderSize) + infoSize > size) return BmpError::Truncated;

    const uint8_t* info = file + kFileHeaderSize;
    const int32_t width = int32_t(Le32(info + 4));
    const int32_t height = int32_t(Le32(info + 8));
    const uint16_t planes = Le16(info + 12);
    const uint16_t bitCount = Le16(info + 14);
    const uint32_t compression = Le32(info + 16);
    const uint32_t colorsUsed = Le32(info + 32);

    if (planes != 1 || compression != kBiRgb) return BmpError::Unsupported;
    switch (bitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return BmpError::Unsupported;
    }
    if (width <= 0 || height == 0 || height == INT32_MIN) return BmpError::BadDimensions;
    const int64_t rows = height < 0 ? -int64_t(height) : int64_t(height);
    if (width > kMaxBmpSide || rows > kMaxBmpSide) return BmpError::BadDimensions;
    if (uint64_t(width) * uint64_t(rows) > kMaxBmpPixels) return BmpError::BadDimensions;

    layout.width = width;
    layout.height = int(rows);
    layout.topDown = height < 0;
    layout.bitCount = bitCount;
    layout.stride = (uint64_t(width) * bitCount + 31) / 32 * 4;
    layout.pixelOffset = Le32(file + 10);

    if (bitCount <= 8) {
        const uint32_t full = 1u << bitCount;
        // A table longer than the depth can index is still legal; only the first entries matter.
        layout.paletteEntries = (colorsUsed == 0 || colorsUsed > full) ? full : colorsUsed;
        layout.paletteOffset = kFileHeaderSize + infoSize;
        if (uint64_t(layout.paletteOffset) + uint64_t(layout.paletteEntries) * 4 > size)
            return BmpError::Truncated;
    }
    if (layout.pixelOffset < kFileHeaderSize + kInfoHeaderSize) return BmpError::NotBmp;
    if (uint64_t(layout.pixelOffset) + layout.stride * uint64_t(rows) > size)
        return BmpError::Truncated;
    return BmpError::None;
}

// Rows of the source file in top-to-bottom order.
const uint8_t* SourceRow(const uint8_t* file, const BmpLayout& layout, int y) {
    const int stored = layout.topDown ? y : layout.height - 1 - y;
    return file + layout.pixelOffset + size_t(stored) * size_t(layout.stride);
}

void ExpandIndexedRow(const uint8_t* src, int width, int bitCount, const uint8_t (*palette)[3],
                      uint8_t* dst) {
    const int perByte = 8 / bitCount;
    const unsigned mask = (1u << bitCount) - 1;
    for (int x = 0; x < width; ++x) {
        // The leftmost pixel sits in the most significant bits of its byte.
        const int shift = 8 - bitCount * (x % perByte + 1);
        const unsigned index = (src[x / perByte] >> shift) & mask;
        std::memcpy(dst + 3 * x, palette[index], 3);
    }
}

void ExpandRow555(const uint8_t* src, int width, uint8_t* dst) {
    for (int x = 0; x < width; ++x) {
        const unsigned v = Le16(src + 2 * x);
        const unsigned b = v & 31, g = (v >> 5) & 31, r = (v >> 10) & 31;
        // Repeat the top bits into the bottom so 31 becomes 255, not 248.
        dst[3 * x + 0] = uint8_t(b << 3 | b >> 2);
        dst[3 * x + 1] = uint8_t(g << 3 | g >> 2);
        dst[3 * x + 2] = uint8_t(r << 3 | r >> 2);
    }
}

void ExpandRow32(const uint8_t* src, int width, uint8_t* dst) {
    for (int x = 0; x < width; ++x) std::memcpy(dst + 3 * x, src + 4 * x, 3);
}

}  // namespace

BmpError DecodeBmp(HeapBuffer<uint8_t> file, RgbImage& image) {
    BmpLayout layout;
    if (const BmpError e = ParseHeaders(file.data(), file.size(), layout); e != BmpError::None)
        return e;

    image.width = layout.width;
    image.height = layout.height;
    if (layout.bitCount == 24) {
        // Encode straight from the file bytes: no copy of the largest kind of input.
        image.topRow = SourceRow(file.data(), layout, 0);
        image.stride = layout.topDown ? ptrdiff_t(layout.stride) : -ptrdiff_t(layout.stride);
        image.storage = std::move(file);
        return BmpError::None;
    }

    const size_t rowBytes = size_t(layout.width) * 3;
    HeapBuffer<uint8_t> pixels;
    if (!pixels.Allocate(rowBytes * size_t(layout.height))) return BmpError::OutOfMemory;

    uint8_t palette[256][3] = {};  // indices past a short table read as black
    for (uint32_t i = 0; i < layout.paletteEntries; ++i)
        std::memcpy(palette[i], file.data() + layout.paletteOffset + 4 * i, 3);

    for (int y = 0; y < layout.height; ++y) {
        const uint8_t* src = SourceRow(file.data(), layout, y);
        uint8_t* dst = pixels.data() + size_t(y) * rowBytes;
        if (layout.bitCount <= 8)
            ExpandIndexedRow(src, layout.width, layout.bitCount, palette, dst);
        else if (layout.bitCount == 16)
            ExpandRow555(src, layout.width, dst);
        else
            ExpandRow32(src, layout.width, dst);
    }
    image.topRow = pixels.data();
    image.stride = ptrdiff_t(rowBytes);
    image.storage = std::move(pixels);
    return BmpError::None;
}

bool ReadWholeFile(const char* path, HeapBuffer<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(f) : -1;
    ok = ok && length >= 0 && std::fseek(f, 0, SEEK_SET) == 0 &&
         bytes.Allocate(size_t(length)) &&
         std::fread(bytes.data(), 1, size_t(length), f) == size_t(length);
    std::fclose(f);
    return ok;
}

BmpError ReadBmpFile(const char* path, RgbImage& image) {
    HeapBuffer<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) return BmpError::CannotOpen;
    return DecodeBmp(std::move(bytes), image);
}

}  // namespace wexbury
