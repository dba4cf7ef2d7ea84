#pragma once
// The byte layout of the BMP files we write (platform-free): a 14-byte file header, a 40-byte
// info header, the colour table for depths up to 8 bits, then the rows bottom-up, each padded to
// a multiple of 4 bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace BmpLayout {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;

// Bytes per row: ((width x bitCount + 31) / 32) x 4.
uint32_t Stride(int width, int bitCount);
// 2^bitCount entries of 4 bytes for 8 bits or fewer, none above.
uint32_t ColorTableBytes(int bitCount);

// "BM", total size, two reserved zeros, offset of the pixel rows.
std::array<uint8_t, kFileHeaderSize> FileHeader(uint32_t fileSize, uint32_t pixelOffset);
// biSize 40, width, height (positive: bottom-up), 1 plane, bitCount, BI_RGB; the rest zero.
std::array<uint8_t, kInfoHeaderSize> InfoHeader(int width, int height, int bitCount);

// A whole 8-bit file: headers, the 256-entry table (blue, green, red, 0 per entry) and the rows
// made from `indices` (width x height, top row first).
std::vector<uint8_t> Encode8Bit(int width, int height, const std::vector<uint8_t>& colorTable,
                                const std::vector<uint8_t>& indices);

}  // namespace BmpLayout
