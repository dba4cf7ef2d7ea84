#pragma once
// Reads the BMP files the capture program writes: a 14-byte file header, an info header of 40 bytes
// or more, a colour table for 1, 4 and 8 bits, and uncompressed rows (bottom-up, or top-down when
// the height is negative) at depths 1, 4, 8, 16 (5-5-5), 24 and 32 (blue, green, red, unused).
//
// Everything the headers claim is checked against the size of the file before any pixel is read,
// so a truncated or lying file is refused instead of being read past its end. The pixels are then
// read a band of rows at a time, so a large capture never sits in memory twice.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "wexbury/heap_buffer.h"
#include "wexbury/rgb_image.h"
#include "wexbury/row_source.h"

namespace wexbury {

enum class BmpError {
    None,
    CannotOpen,     // missing or unreadable file
    NotBmp,         // no "BM" signature or a header too short for its own fields
    Unsupported,    // depth, compression, plane count or header kind we do not read
    BadDimensions,  // zero, negative width, or larger than we are willing to encode
    Truncated,      // the colour table or the rows reach past the end of the file
    OutOfMemory,
};

// JPEG frames hold 16-bit sizes; the pixel cap keeps a hostile header from asking for gigabytes.
constexpr int kMaxBmpSide = 65535;
constexpr uint64_t kMaxBmpPixels = uint64_t(1) << 27;

// Where the bytes of a BMP come from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Copies `n` bytes starting at `offset`; false unless all of them are there.
    virtual bool Read(uint64_t offset, size_t n, uint8_t* out) = 0;
};

class MemoryBytes : public ByteSource {
public:
    MemoryBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint64_t Size() const override { return size_; }
    bool Read(uint64_t offset, size_t n, uint8_t* out) override;

private:
    const uint8_t* data_;
    size_t size_;
};

class FileBytes : public ByteSource {
public:
    FileBytes() = default;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;
    ~FileBytes() override;
    bool Open(const char* path);  // for reading only
    uint64_t Size() const override { return size_; }
    bool Read(uint64_t offset, size_t n, uint8_t* out) override;

private:
    std::FILE* file_ = nullptr;
    uint64_t size_ = 0;
};

// The pixels of a BMP, fetched band by band from its bytes.
class BmpReader : public RowSource {
public:
    // Reads and checks the headers and loads the colour table; `bytes` must outlive the reader.
    BmpError Open(ByteSource& bytes);

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    bool FetchRows(int first, int count, const uint8_t** rows) override;

private:
    ByteSource* bytes_ = nullptr;
    int width_ = 0, height_ = 0;
    bool topDown_ = false;
    int bitCount_ = 0;
    size_t stride_ = 0;       // bytes per stored row, padded to 4
    uint64_t pixelOffset_ = 0;
    uint8_t palette_[256][3] = {};  // indices past a short table read as black
    HeapBuffer<uint8_t> raw_;       // the band as stored in the file
    HeapBuffer<uint8_t> converted_;  // the band as blue-green-red, for depths other than 24
};

// The whole picture in memory: for tests, and for measuring what the encoder made of it.
BmpError DecodeBmp(const uint8_t* data, size_t size, RgbImage& image);
BmpError ReadBmpFile(const char* path, RgbImage& image);

}  // namespace wexbury
