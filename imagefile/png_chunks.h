#pragma once
// The container of a PNG file (platform-free): the signature, and chunks of length, type, data and
// the CRC-32 of type and data, all numbers big-endian.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace PngChunks {

inline constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// A chunk's data is at most 2^31 - 1 bytes.
inline constexpr uint32_t kMaxDataLength = 0x7FFFFFFF;

// The CRC-32 of the chunk type followed by its data.
uint32_t Crc(const char type[4], const uint8_t* data, size_t size);

void AppendBigEndian32(std::vector<uint8_t>& out, uint32_t value);
uint32_t ReadBigEndian32(const uint8_t* p);

// Appends one whole chunk: length, type, data, CRC.
void Append(std::vector<uint8_t>& out, const char type[4], const uint8_t* data, size_t size);

struct Chunk {
    char type[5] = {};  // four letters and a terminating zero
    const uint8_t* data = nullptr;
    uint32_t length = 0;
};

// Walks the chunks of a file held in memory, checking each one's length and CRC.
class Reader {
public:
    Reader(const uint8_t* file, size_t size);
    // False when the signature is wrong.
    bool HasSignature() const { return signatureOk_; }
    // The next chunk; false at the end of the bytes, or at a chunk that is cut short or whose
    // CRC does not match (then Damaged() is true).
    bool Next(Chunk& chunk);
    bool Damaged() const { return damaged_; }

private:
    const uint8_t* file_;
    size_t size_;
    size_t at_ = 8;
    bool signatureOk_ = false;
    bool damaged_ = false;
};

}  // namespace PngChunks
