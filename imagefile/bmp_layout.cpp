#include "imagefile/bmp_layout.h"

#include <cstring>

namespace BmpLayout {
namespace {

template <typename T>
void Put(uint8_t* at, T value) {
    for (size_t i = 0; i < sizeof(T); ++i) at[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
}

}  // namespace

uint32_t Stride(int width, int bitCount) {
    return static_cast<uint32_t>((static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4);
}

uint32_t ColorTableBytes(int bitCount) { return bitCount <= 8 ? (1u << bitCount) * 4 : 0; }

std::array<uint8_t, kFileHeaderSize> FileHeader(uint32_t fileSize, uint32_t pixelOffset) {
    std::array<uint8_t, kFileHeaderSize> h{};
    h[0] = 'B';
    h[1] = 'M';
    Put(&h[2], fileSize);
    Put(&h[10], pixelOffset);
    return h;
}

std::array<uint8_t, kInfoHeaderSize> InfoHeader(int width, int height, int bitCount) {
    std::array<uint8_t, kInfoHeaderSize> h{};
    Put(&h[0], uint32_t(kInfoHeaderSize));
    Put(&h[4], int32_t(width));
    Put(&h[8], int32_t(height));
    Put(&h[12], uint16_t(1));
    Put(&h[14], uint16_t(bitCount));
    return h;  // compression BI_RGB (0), sizes, resolutions and colour counts all 0
}

std::vector<uint8_t> Encode8Bit(int width, int height, const std::vector<uint8_t>& colorTable,
                                const std::vector<uint8_t>& indices) {
    uint32_t stride = Stride(width, 8);
    uint32_t offset = kFileHeaderSize + kInfoHeaderSize + ColorTableBytes(8);
    uint32_t size = offset + stride * static_cast<uint32_t>(height);
    std::vector<uint8_t> file(size, 0);
    auto fileHeader = FileHeader(size, offset);
    auto infoHeader = InfoHeader(width, height, 8);
    std::memcpy(file.data(), fileHeader.data(), fileHeader.size());
    std::memcpy(file.data() + kFileHeaderSize, infoHeader.data(), infoHeader.size());
    std::memcpy(file.data() + kFileHeaderSize + kInfoHeaderSize, colorTable.data(),
                colorTable.size() < ColorTableBytes(8) ? colorTable.size() : ColorTableBytes(8));
    for (int y = 0; y < height; ++y)
        std::memcpy(file.data() + offset + static_cast<size_t>(height - 1 - y) * stride,
                    indices.data() + static_cast<size_t>(y) * width, width);
    return file;
}

}  // namespace BmpLayout
