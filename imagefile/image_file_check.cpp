#include "imagefile/image_file_check.h"

#include <algorithm>
#include <cstring>

#include "imagefile/png_chunks.h"
#include "imagefile/png_decoder.h"

namespace ImageFileCheck {

namespace {

uint32_t U16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t U32(const uint8_t* p) { return U16(p) | U16(p + 2) << 16; }
uint32_t U16BigEndian(const uint8_t* p) { return uint32_t(p[0]) << 8 | p[1]; }

Result Picture(Kind kind, int64_t width, int64_t height) {
    Result r;
    r.kind = kind;
    r.width = width;
    r.height = height;
    if (width <= 0 || height <= 0) r.verdict = Verdict::kNotAnImage;
    else r.verdict = FitsLimits(width, height) ? Verdict::kFits : Verdict::kTooLarge;
    return r;
}

Result NotAnImage(Kind kind) {
    Result r;
    r.kind = kind;
    return r;
}

Result CheckBmp(const uint8_t* data, size_t size) {
    const size_t kFileHeader = 14;
    if (size < kFileHeader + 4) return NotAnImage(Kind::kBmp);
    const uint32_t headerSize = U32(data + kFileHeader);
    int64_t width, height;
    uint32_t bitCount, compression = 0;
    if (headerSize == 12) {  // the old core header: 16-bit sizes
        if (size < kFileHeader + 12) return NotAnImage(Kind::kBmp);
        width = U16(data + 18);
        height = U16(data + 20);
        bitCount = U16(data + 24);
    } else if (headerSize >= 40 && headerSize <= 124) {
        if (size < kFileHeader + 40) return NotAnImage(Kind::kBmp);
        width = static_cast<int32_t>(U32(data + 18));
        height = static_cast<int32_t>(U32(data + 22));
        if (height < 0) height = -height;  // rows stored top-down
        bitCount = U16(data + 28);
        compression = U32(data + 30);
    } else {
        return NotAnImage(Kind::kBmp);
    }
    Result r = Picture(Kind::kBmp, width, height);
    if (r.verdict != Verdict::kFits) return r;
    switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return NotAnImage(Kind::kBmp);
    }
    // Uncompressed rows (plain or with colour masks) have a known length: a file cut short would
    // decode as a partly black picture without a word.
    const uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression == kRgb || compression == kBitFields || compression == kAlphaBitFields) {
        const uint64_t stride = (uint64_t(width) * bitCount + 31) / 32 * 4;
        const uint64_t pixelOffset = std::max<uint64_t>(U32(data + 10), kFileHeader + headerSize);
        if (uint64_t(size) < pixelOffset + stride * uint64_t(height)) return NotAnImage(Kind::kBmp);
    }
    return r;
}

Result CheckGif(const uint8_t* data, size_t size) {
    const size_t kScreenDescriptorEnd = 13;
    if (size < kScreenDescriptorEnd) return NotAnImage(Kind::kGif);
    int64_t width = U16(data + 6), height = U16(data + 8);
    const uint8_t flags = data[10];
    size_t at = kScreenDescriptorEnd + ((flags & 0x80) ? size_t(3) << ((flags & 7) + 1) : 0);
    // The first image's own place and size count too: the picture must hold all of it.
    while (at < size) {
        const uint8_t block = data[at];
        if (block == 0x21) {  // an extension: label, then sub-blocks up to an empty one
            at += 2;
            while (at < size && data[at] != 0) at += size_t(data[at]) + 1;
            if (at >= size) break;
            ++at;
        } else if (block == 0x2C) {
            if (at + 10 > size) break;
            const int64_t left = U16(data + at + 1), top = U16(data + at + 3);
            const int64_t w = U16(data + at + 5), h = U16(data + at + 7);
            if (w == 0 || h == 0) break;
            return Picture(Kind::kGif, std::max(width, left + w), std::max(height, top + h));
        } else {
            break;  // the trailer or damage before any image
        }
    }
    return NotAnImage(Kind::kGif);
}

bool IsFrameMarker(uint8_t m) {
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

Result CheckJpeg(const uint8_t* data, size_t size) {
    size_t at = 2;
    while (at < size) {
        if (data[at] != 0xFF) {  // stray bytes between segments, which decoders skip
            ++at;
            continue;
        }
        while (at < size && data[at] == 0xFF) ++at;  // fill bytes
        if (at >= size) break;
        const uint8_t marker = data[at++];
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        if (marker == 0xD9 || marker == 0xDA) break;  // image end or scan data before any frame
        if (at + 2 > size) break;
        const uint32_t length = U16BigEndian(data + at);
        if (length < 2) break;
        if (IsFrameMarker(marker)) {
            if (at + 7 > size) break;
            // A height of 0 would be given later by a DNL segment, which we do not accept.
            return Picture(Kind::kJpeg, U16BigEndian(data + at + 5), U16BigEndian(data + at + 3));
        }
        at += length;
    }
    return NotAnImage(Kind::kJpeg);
}

// Only the header: the chunks after it are checked as the picture decodes.
Result CheckPng(const uint8_t* data, size_t size) {
    PngDecoder::Header header;
    if (!PngDecoder::ReadHeader(data, size, header)) return NotAnImage(Kind::kPng);
    return Picture(Kind::kPng, header.width, header.height);
}

}  // namespace

bool FitsLimits(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

Result Check(const uint8_t* data, size_t size) {
    if (!data) return Result{};
    if (uint64_t(size) > kMaxFileBytes) {
        Result r;
        r.verdict = Verdict::kTooLarge;
        return r;
    }
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return CheckBmp(data, size);
    if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0))
        return CheckGif(data, size);
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return CheckJpeg(data, size);
    if (size >= 8 && std::memcmp(data, PngChunks::kSignature, 8) == 0) return CheckPng(data, size);
    return Result{};
}

}  // namespace ImageFileCheck
