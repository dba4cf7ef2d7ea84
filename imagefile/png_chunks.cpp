#include "imagefile/png_chunks.h"

#include <zlib.h>

#include <cstring>

namespace PngChunks {

uint32_t Crc(const char type[4], const uint8_t* data, size_t size) {
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    // zlib takes at most a uInt at a time; chunk data may be longer on 64-bit builds only in theory.
    while (size > 0) {
        const uInt part = size > 0x40000000 ? 0x40000000 : static_cast<uInt>(size);
        crc = crc32(crc, data, part);
        data += part;
        size -= part;
    }
    return static_cast<uint32_t>(crc);
}

void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    const uint8_t bytes[4] = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
    out.insert(out.end(), bytes, bytes + 4);
}

uint32_t ReadBigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

void Append(std::vector<uint8_t>& out, const char type[4], const uint8_t* data, size_t size) {
    AppendBigEndian32(out, static_cast<uint32_t>(size));
    out.insert(out.end(), type, type + 4);
    if (size) out.insert(out.end(), data, data + size);
    AppendBigEndian32(out, Crc(type, data, size));
}

Reader::Reader(const uint8_t* file, size_t size) : file_(file), size_(size) {
    signatureOk_ = file && size >= 8 && std::memcmp(file, kSignature, 8) == 0;
}

bool Reader::Next(Chunk& chunk) {
    if (!signatureOk_ || damaged_ || at_ >= size_) return false;
    if (size_ - at_ < 12) {
        damaged_ = true;
        return false;
    }
    const uint32_t length = ReadBigEndian32(file_ + at_);
    if (length > kMaxDataLength || size_ - at_ - 12 < length) {
        damaged_ = true;
        return false;
    }
    const char* type = reinterpret_cast<const char*>(file_ + at_ + 4);
    const uint8_t* data = file_ + at_ + 8;
    if (Crc(type, data, length) != ReadBigEndian32(data + length)) {
        damaged_ = true;
        return false;
    }
    std::memcpy(chunk.type, type, 4);
    chunk.type[4] = 0;
    chunk.data = data;
    chunk.length = length;
    at_ += 12 + size_t(length);
    return true;
}

}  // namespace PngChunks
