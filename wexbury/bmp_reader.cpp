#include "wexbury/bmp_reader.h"

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

bool MemoryBytes::Read(uint64_t offset, size_t n, uint8_t* out) {
    if (offset > size_ || n > size_ - offset) return false;
    if (n) std::memcpy(out, data_ + offset, n);
    return true;
}

FileBytes::~FileBytes() {
    if (file_) std::fclose(file_);
}

bool FileBytes::Open(const char* path) {
    file_ = std::fopen(path, "rb");
    if (!file_) return false;
    if (std::fseek(file_, 0, SEEK_END) != 0) return false;
    const long length = std::ftell(file_);
    if (length < 0) return false;
    size_ = uint64_t(length);
    return true;
}

bool FileBytes::Read(uint64_t offset, size_t n, uint8_t* out) {
    if (!file_ || offset > size_ || n > size_ - offset) return false;
    if (n == 0) return true;
    return std::fseek(file_, long(offset), SEEK_SET) == 0 && std::fread(out, 1, n, file_) == n;
}

BmpError BmpReader::Open(ByteSource& bytes) {
    bytes_ = &bytes;
    const uint64_t size = bytes.Size();
    uint8_t head[kFileHeaderSize + kInfoHeaderSize];
    if (size < kFileHeaderSize + 4 || !bytes.Read(0, kFileHeaderSize + 4, head) ||
        head[0] != 'B' || head[1] != 'M')
        return BmpError::NotBmp;
    const uint32_t infoSize = Le32(head + kFileHeaderSize);
    // 12-byte core headers use another layout; 40 and the longer versions share the first 40 bytes.
    if (infoSize < kInfoHeaderSize) return BmpError::Unsupported;
    if (!bytes.Read(0, sizeof head, head)) return BmpError::NotBmp;
    if (kFileHeaderSize + uint64_t(infoSize) > size) return BmpError::Truncated;

    const uint8_t* info = head + kFileHeaderSize;
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

    width_ = width;
    height_ = int(rows);
    topDown_ = height < 0;
    bitCount_ = bitCount;
    stride_ = size_t((uint64_t(width) * bitCount + 31) / 32 * 4);
    pixelOffset_ = Le32(head + 10);

    if (bitCount <= 8) {
        const uint32_t full = 1u << bitCount;
        // A table longer than the depth can index is still legal; only the first entries matter.
        const uint32_t entries = (colorsUsed == 0 || colorsUsed > full) ? full : colorsUsed;
        uint8_t table[256 * 4];
        if (!bytes.Read(kFileHeaderSize + infoSize, entries * 4, table)) return BmpError::Truncated;
        for (uint32_t i = 0; i < entries; ++i) std::memcpy(palette_[i], table + 4 * i, 3);
    }
    if (pixelOffset_ < kFileHeaderSize + kInfoHeaderSize) return BmpError::NotBmp;
    if (pixelOffset_ + uint64_t(stride_) * uint64_t(rows) > size) return BmpError::Truncated;
    return BmpError::None;
}

bool BmpReader::FetchRows(int first, int count, const uint8_t** rows) {
    if (first < 0 || count <= 0 || first + count > height_) return false;
    const size_t bandBytes = stride_ * size_t(count);
    if (raw_.size() < bandBytes && !raw_.Allocate(bandBytes)) return false;
    // The band is contiguous in the file; bottom-up files store it last row first.
    const int firstStored = topDown_ ? first : height_ - first - count;
    if (!bytes_->Read(pixelOffset_ + uint64_t(firstStored) * stride_, bandBytes, raw_.data()))
        return false;
    auto stored = [&](int i) {
        return raw_.data() + stride_ * size_t(topDown_ ? i : count - 1 - i);
    };
    if (bitCount_ == 24) {
        for (int i = 0; i < count; ++i) rows[i] = stored(i);
        return true;
    }
    const size_t rowBytes = size_t(width_) * 3;
    if (converted_.size() < rowBytes * size_t(count) &&
        !converted_.Allocate(rowBytes * size_t(count)))
        return false;
    for (int i = 0; i < count; ++i) {
        uint8_t* dst = converted_.data() + rowBytes * size_t(i);
        if (bitCount_ <= 8)
            ExpandIndexedRow(stored(i), width_, bitCount_, palette_, dst);
        else if (bitCount_ == 16)
            ExpandRow555(stored(i), width_, dst);
        else
            ExpandRow32(stored(i), width_, dst);
        rows[i] = dst;
    }
    return true;
}

namespace {

BmpError ReadAll(ByteSource& bytes, RgbImage& image) {
    BmpReader reader;
    if (const BmpError e = reader.Open(bytes); e != BmpError::None) return e;
    const size_t rowBytes = size_t(reader.Width()) * 3;
    if (!image.storage.Allocate(rowBytes * size_t(reader.Height()))) return BmpError::OutOfMemory;
    image.width = reader.Width();
    image.height = reader.Height();
    image.topRow = image.storage.data();
    image.stride = ptrdiff_t(rowBytes);
    constexpr int kBand = 16;
    const uint8_t* rows[kBand];
    for (int y = 0; y < image.height; y += kBand) {
        const int count = image.height - y < kBand ? image.height - y : kBand;
        if (!reader.FetchRows(y, count, rows)) return BmpError::Truncated;
        for (int i = 0; i < count; ++i)
            std::memcpy(image.storage.data() + rowBytes * size_t(y + i), rows[i], rowBytes);
    }
    return BmpError::None;
}

}  // namespace

BmpError DecodeBmp(const uint8_t* data, size_t size, RgbImage& image) {
    MemoryBytes bytes(data, size);
    return ReadAll(bytes, image);
}

BmpError ReadBmpFile(const char* path, RgbImage& image) {
    FileBytes bytes;
    if (!bytes.Open(path)) return BmpError::CannotOpen;
    return ReadAll(bytes, image);
}

}  // namespace wexbury
