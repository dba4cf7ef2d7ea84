#include "imagefile/png_decoder.h"

#include <zlib.h>

#include <cstring>

#include "imagefile/image_file_check.h"
#include "imagefile/png_chunks.h"
#include "imagefile/png_filters.h"

namespace PngDecoder {
namespace {

enum ColorType { kGray = 0, kRgb = 2, kPalette = 3, kGrayAlpha = 4, kRgba = 6 };

int ChannelsOf(int colorType) {
    switch (colorType) {
    case kGray: case kPalette: return 1;
    case kGrayAlpha: return 2;
    case kRgb: return 3;
    case kRgba: return 4;
    default: return 0;
    }
}

bool DepthAllowed(int colorType, int depth) {
    switch (colorType) {
    case kGray: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case kPalette: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case kRgb: case kGrayAlpha: case kRgba: return depth == 8 || depth == 16;
    default: return false;
    }
}

// The seven passes of Adam7 interlacing: first column and row, and the steps between them.
struct Pass {
    int x0, y0, dx, dy;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
constexpr Pass kWhole = {0, 0, 1, 1};

int PassSize(int size, int start, int step) { return size > start ? (size - start + step - 1) / step : 0; }

// The inflated rows, one at a time, from the IDAT chunks in order.
class RowInflater {
public:
    explicit RowInflater(const std::vector<PngChunks::Chunk>& idats) : idats_(idats) {
        ok_ = inflateInit(&stream_) == Z_OK;
    }
    ~RowInflater() { inflateEnd(&stream_); }

    // Fills `out` with exactly `length` bytes; false when the data ends or is damaged first.
    bool Read(uint8_t* out, size_t length) {
        if (!ok_) return false;
        stream_.next_out = out;
        stream_.avail_out = static_cast<uInt>(length);
        while (stream_.avail_out > 0) {
            if (stream_.avail_in == 0) {
                if (next_ == idats_.size()) return ok_ = false;
                stream_.next_in = const_cast<Bytef*>(idats_[next_].data);
                stream_.avail_in = idats_[next_].length;
                ++next_;
                continue;
            }
            const int result = inflate(&stream_, Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                if (stream_.avail_out > 0) return ok_ = false;
                break;
            }
            if (result != Z_OK && result != Z_BUF_ERROR) return ok_ = false;
            if (result == Z_BUF_ERROR && stream_.avail_in == 0 && next_ == idats_.size()) return ok_ = false;
        }
        return true;
    }

private:
    const std::vector<PngChunks::Chunk>& idats_;
    size_t next_ = 0;
    z_stream stream_{};
    bool ok_ = false;
};

// Turns unfiltered rows of any colour type into blue, green, red, 0 pixels over white.
class PixelConverter {
public:
    PixelConverter(const Header& header, const std::vector<uint8_t>& palette, const std::vector<uint8_t>& alphas,
                   const uint16_t transparent[3], bool hasTransparent)
        : header_(header), palette_(palette), alphas_(alphas), hasTransparent_(hasTransparent) {
        std::memcpy(transparent_, transparent, sizeof transparent_);
    }

    // `count` pixels of `raw` into `out` (4 bytes each, `outStep` pixels apart). False when a
    // palette index has no entry.
    bool Convert(const uint8_t* raw, int count, uint8_t* out, size_t outStep) const {
        const int depth = header_.bitDepth;
        for (int x = 0; x < count; ++x, out += outStep * 4) {
            uint16_t s[4] = {0, 0, 0, 0};  // the pixel's samples at their stored depth
            const int channels = ChannelsOf(header_.colorType);
            if (depth < 8) {
                const int bit = x * depth;
                s[0] = (raw[bit / 8] >> (8 - depth - bit % 8)) & ((1 << depth) - 1);
            } else if (depth == 8) {
                for (int c = 0; c < channels; ++c) s[c] = raw[size_t(x) * channels + c];
            } else {
                for (int c = 0; c < channels; ++c) {
                    const uint8_t* p = raw + (size_t(x) * channels + c) * 2;
                    s[c] = uint16_t(p[0] << 8 | p[1]);
                }
            }
            uint8_t r, g, b, a = 255;
            switch (header_.colorType) {
            case kPalette: {
                if (size_t(s[0]) * 3 + 3 > palette_.size()) return false;
                r = palette_[s[0] * 3];
                g = palette_[s[0] * 3 + 1];
                b = palette_[s[0] * 3 + 2];
                if (s[0] < alphas_.size()) a = alphas_[s[0]];
                break;
            }
            case kGray:
                r = g = b = To8(s[0]);
                if (hasTransparent_ && s[0] == transparent_[0]) a = 0;
                break;
            case kGrayAlpha:
                r = g = b = To8(s[0]);
                a = To8(s[1]);
                break;
            case kRgb:
                r = To8(s[0]);
                g = To8(s[1]);
                b = To8(s[2]);
                if (hasTransparent_ && s[0] == transparent_[0] && s[1] == transparent_[1] && s[2] == transparent_[2])
                    a = 0;
                break;
            default:  // kRgba
                r = To8(s[0]);
                g = To8(s[1]);
                b = To8(s[2]);
                a = To8(s[3]);
                break;
            }
            out[0] = OverWhite(b, a);
            out[1] = OverWhite(g, a);
            out[2] = OverWhite(r, a);
            out[3] = 0;
        }
        return true;
    }

private:
    // A sample at the image's depth as 8 bits: small depths scaled up, 16 bits cut to the high byte.
    uint8_t To8(uint16_t sample) const {
        switch (header_.bitDepth) {
        case 1: return sample ? 255 : 0;
        case 2: return static_cast<uint8_t>(sample * 85);
        case 4: return static_cast<uint8_t>(sample * 17);
        case 16: return static_cast<uint8_t>(sample >> 8);
        default: return static_cast<uint8_t>(sample);
        }
    }
    static uint8_t OverWhite(uint8_t value, uint8_t alpha) {
        if (alpha == 255) return value;
        return static_cast<uint8_t>((value * alpha + 255 * (255 - alpha) + 127) / 255);
    }

    const Header& header_;
    const std::vector<uint8_t>& palette_;
    const std::vector<uint8_t>& alphas_;
    uint16_t transparent_[3] = {};
    bool hasTransparent_;
};

}  // namespace

bool ReadHeader(const uint8_t* file, size_t size, Header& header) {
    PngChunks::Reader reader(file, size);
    PngChunks::Chunk chunk;
    if (!reader.Next(chunk) || std::strcmp(chunk.type, "IHDR") != 0 || chunk.length != 13) return false;
    header.width = PngChunks::ReadBigEndian32(chunk.data);
    header.height = PngChunks::ReadBigEndian32(chunk.data + 4);
    header.bitDepth = chunk.data[8];
    header.colorType = chunk.data[9];
    header.interlaced = chunk.data[12] == 1;
    return header.width > 0 && header.height > 0 && header.width <= 0x7FFFFFFF && header.height <= 0x7FFFFFFF &&
           DepthAllowed(header.colorType, header.bitDepth) && chunk.data[10] == 0 && chunk.data[11] == 0 &&
           chunk.data[12] <= 1;
}

Status Decode(const uint8_t* file, size_t size, Image& image) {
    Header header;
    if (!ReadHeader(file, size, header)) return Status::kNotPng;
    if (!ImageFileCheck::FitsLimits(header.width, header.height)) return Status::kTooLarge;

    // Gather what the pixels need; every chunk's CRC is checked on the way.
    std::vector<uint8_t> palette, alphas;
    uint16_t transparent[3] = {0, 0, 0};
    bool hasTransparent = false, ended = false;
    std::vector<PngChunks::Chunk> idats;
    PngChunks::Reader reader(file, size);
    PngChunks::Chunk chunk;
    reader.Next(chunk);  // IHDR, read above
    while (reader.Next(chunk)) {
        if (std::strcmp(chunk.type, "PLTE") == 0) {
            if (chunk.length % 3 != 0 || chunk.length == 0 || chunk.length > 768) return Status::kNotPng;
            palette.assign(chunk.data, chunk.data + chunk.length);
        } else if (std::strcmp(chunk.type, "tRNS") == 0) {
            if (header.colorType == kPalette) {
                alphas.assign(chunk.data, chunk.data + chunk.length);
            } else if (header.colorType == kGray && chunk.length >= 2) {
                transparent[0] = uint16_t(chunk.data[0] << 8 | chunk.data[1]);
                hasTransparent = true;
            } else if (header.colorType == kRgb && chunk.length >= 6) {
                for (int c = 0; c < 3; ++c) transparent[c] = uint16_t(chunk.data[c * 2] << 8 | chunk.data[c * 2 + 1]);
                hasTransparent = true;
            }
        } else if (std::strcmp(chunk.type, "IDAT") == 0) {
            idats.push_back(chunk);
        } else if (std::strcmp(chunk.type, "IEND") == 0) {
            ended = true;
            break;
        } else if (!(chunk.type[0] & 0x20)) {
            return Status::kNotPng;  // a critical chunk we do not know
        }
    }
    if (!ended || idats.empty() || (header.colorType == kPalette && palette.empty())) return Status::kNotPng;

    const int width = static_cast<int>(header.width), height = static_cast<int>(header.height);
    const int bitsPerPixel = ChannelsOf(header.colorType) * header.bitDepth;
    const int filterDistance = bitsPerPixel < 8 ? 1 : bitsPerPixel / 8;
    const Pass* passes = header.interlaced ? kAdam7 : &kWhole;
    const int passCount = header.interlaced ? 7 : 1;

    // Deflate expands at most 1032 times: a file whose pixel data is too short for the rows it
    // claims is refused before the picture is allocated.
    uint64_t rawBytes = 0, deflatedBytes = 0;
    for (int p = 0; p < passCount; ++p) {
        const uint64_t passWidth = PassSize(width, passes[p].x0, passes[p].dx);
        const uint64_t passHeight = PassSize(height, passes[p].y0, passes[p].dy);
        if (passWidth && passHeight) rawBytes += passHeight * (1 + (passWidth * bitsPerPixel + 7) / 8);
    }
    for (const PngChunks::Chunk& idat : idats) deflatedBytes += idat.length;
    if (deflatedBytes * 1032 < rawBytes) return Status::kNotPng;

    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
    PixelConverter converter(header, palette, alphas, transparent, hasTransparent);
    RowInflater inflater(idats);
    for (int p = 0; p < passCount; ++p) {
        const Pass& pass = passes[p];
        const int passWidth = PassSize(width, pass.x0, pass.dx), passHeight = PassSize(height, pass.y0, pass.dy);
        if (passWidth == 0 || passHeight == 0) continue;  // an empty pass has no rows at all
        const size_t rowBytes = (size_t(passWidth) * bitsPerPixel + 7) / 8;
        std::vector<uint8_t> row(rowBytes + 1), prior(rowBytes + 1);
        for (int y = 0; y < passHeight; ++y) {
            if (!inflater.Read(row.data(), rowBytes + 1)) return Status::kNotPng;
            if (!PngFilters::Unfilter(row[0], row.data() + 1, y ? prior.data() + 1 : nullptr, rowBytes,
                                      filterDistance))
                return Status::kNotPng;
            const size_t outY = size_t(pass.y0) + size_t(y) * pass.dy;
            uint8_t* out = pixels.data() + (outY * width + pass.x0) * 4;
            if (!converter.Convert(row.data() + 1, passWidth, out, pass.dx)) return Status::kNotPng;
            row.swap(prior);
        }
    }
    image.width = width;
    image.height = height;
    image.pixels.swap(pixels);
    return Status::kDecoded;
}

}  // namespace PngDecoder
