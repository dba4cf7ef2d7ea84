#include "imagefile/png_encoder.h"

#include <zlib.h>

#include <algorithm>

#include "imagefile/palette_builder.h"
#include "imagefile/png_chunks.h"
#include "imagefile/png_filters.h"
#include "imagefile/png_rgb_rows.h"

namespace PngEncoder {
namespace {

constexpr uint8_t kColorTypeRgb = 2;
constexpr uint8_t kColorTypePalette = 3;
// The size of each IDAT chunk: big enough that chunk overhead is nothing, small enough that the
// compressed output is never held twice.
constexpr size_t kIdatSize = 256 * 1024;
constexpr int kScreenshotLevel = 7;
constexpr int kPhotographLevel = 4;

void AppendHeader(std::vector<uint8_t>& out, int width, int height, uint8_t bitDepth, uint8_t colorType) {
    std::vector<uint8_t> header;
    PngChunks::AppendBigEndian32(header, static_cast<uint32_t>(width));
    PngChunks::AppendBigEndian32(header, static_cast<uint32_t>(height));
    // Bit depth, colour type, deflate, adaptive filtering, not interlaced.
    const uint8_t rest[5] = {bitDepth, colorType, 0, 0, 0};
    header.insert(header.end(), rest, rest + 5);
    PngChunks::Append(out, "IHDR", header.data(), header.size());
}

// Deflates the filtered rows as they come and writes them out as IDAT chunks.
class IdatWriter {
public:
    IdatWriter(std::vector<uint8_t>& out, int level, int strategy) : out_(out), buffer_(kIdatSize) {
        ok_ = deflateInit2(&stream_, level, Z_DEFLATED, 15, 9, strategy) == Z_OK;
        stream_.next_out = buffer_.data();
        stream_.avail_out = static_cast<uInt>(buffer_.size());
    }
    ~IdatWriter() { deflateEnd(&stream_); }

    // One row: its filter-type byte, then its filtered bytes.
    bool AddRow(uint8_t filterType, const uint8_t* bytes, size_t length) {
        return Deflate(&filterType, 1, Z_NO_FLUSH) && Deflate(bytes, length, Z_NO_FLUSH);
    }
    bool Finish() { return Deflate(nullptr, 0, Z_FINISH); }

private:
    bool Deflate(const uint8_t* bytes, size_t length, int flush) {
        if (!ok_) return false;
        stream_.next_in = const_cast<Bytef*>(bytes);
        stream_.avail_in = static_cast<uInt>(length);
        for (;;) {
            const int result = deflate(&stream_, flush);
            if (result == Z_STREAM_ERROR) return ok_ = false;
            if (stream_.avail_out == 0) FlushChunk();
            if (flush == Z_FINISH) {
                if (result == Z_STREAM_END) {
                    FlushChunk();
                    return true;
                }
            } else if (stream_.avail_in == 0) {
                return true;
            }
        }
    }

    void FlushChunk() {
        const size_t used = buffer_.size() - stream_.avail_out;
        if (used) PngChunks::Append(out_, "IDAT", buffer_.data(), used);
        stream_.next_out = buffer_.data();
        stream_.avail_out = static_cast<uInt>(buffer_.size());
    }

    std::vector<uint8_t>& out_;
    std::vector<uint8_t> buffer_;
    z_stream stream_{};
    bool ok_ = false;
};

void AppendEnd(std::vector<uint8_t>& out) { PngChunks::Append(out, "IEND", nullptr, 0); }

bool WritePaletteImage(std::vector<uint8_t>& out, const PaletteBuilder::Indexed& indexed, int width, int height,
                       const Options& options) {
    const int depth = PaletteBitDepth(indexed.colorCount);
    AppendHeader(out, width, height, static_cast<uint8_t>(depth), kColorTypePalette);
    std::vector<uint8_t> palette;
    for (int i = 0; i < indexed.colorCount; ++i) {
        const uint8_t* bgr0 = &indexed.colorTable[size_t(i) * 4];
        const uint8_t rgb[3] = {bgr0[2], bgr0[1], bgr0[0]};
        palette.insert(palette.end(), rgb, rgb + 3);
    }
    PngChunks::Append(out, "PLTE", palette.data(), palette.size());

    const size_t rowBytes = (size_t(width) * depth + 7) / 8;
    const int perByte = 8 / depth;
    std::vector<uint8_t> packed(rowBytes), prior(rowBytes), filtered(rowBytes);
    IdatWriter idat(out, options.compressionLevel ? options.compressionLevel : kScreenshotLevel, Z_DEFAULT_STRATEGY);
    for (int y = 0; y < height; ++y) {
        const uint8_t* indices = &indexed.indices[size_t(y) * size_t(width)];
        if (depth == 8) {
            packed.assign(indices, indices + width);
        } else {
            // Leftmost pixel in the high bits; the last byte's unused bits stay zero.
            std::fill(packed.begin(), packed.end(), 0);
            for (int x = 0; x < width; ++x)
                packed[size_t(x / perByte)] |=
                    static_cast<uint8_t>(indices[x] << (8 - depth * (x % perByte + 1)));
        }
        const PngFilters::Type type =
            options.filter >= 0 ? static_cast<PngFilters::Type>(options.filter) : PngFilters::kNone;
        PngFilters::Filter(type, packed.data(), y ? prior.data() : nullptr, rowBytes, 1, filtered.data());
        if (!idat.AddRow(type, filtered.data(), rowBytes)) return false;
        packed.swap(prior);
    }
    if (!idat.Finish()) return false;
    AppendEnd(out);
    return true;
}

bool WriteRgbImage(std::vector<uint8_t>& out, const uint8_t* pixels, int width, int height, size_t stride,
                   const Options& options) {
    AppendHeader(out, width, height, 8, kColorTypeRgb);
    const bool screenshot = options.filter < 0 && PaletteBuilder::CountColors(pixels, width, height, stride,
                                                                              options.screenshotColors) <=
                                                     options.screenshotColors;
    PngRgbRows::Settings settings;
    settings.filter = options.filter >= 0 ? options.filter : screenshot ? int(PngFilters::kNone) : -1;
    settings.level = options.compressionLevel ? options.compressionLevel
                                              : screenshot ? kScreenshotLevel : kPhotographLevel;
    settings.bands = options.bands > 0 ? options.bands : PngRgbRows::BandsFor(height);
    const std::vector<uint8_t> stream = PngRgbRows::Deflate(pixels, width, height, stride, settings);
    if (stream.empty()) return false;
    for (size_t at = 0; at < stream.size(); at += kIdatSize)
        PngChunks::Append(out, "IDAT", stream.data() + at, std::min(kIdatSize, stream.size() - at));
    AppendEnd(out);
    return true;
}

}  // namespace

int PaletteBitDepth(int colorCount) {
    if (colorCount <= 2) return 1;
    if (colorCount <= 4) return 2;
    if (colorCount <= 16) return 4;
    return 8;
}

std::vector<uint8_t> Encode(const uint8_t* pixels, int width, int height, size_t stride, const Options& options) {
    if (!pixels || width <= 0 || height <= 0) return {};
    // Three bytes a pixel plus the filter byte must stay within what the row arithmetic holds.
    if (uint64_t(width) * 3 + 1 > 0x7FFFFFFF) return {};
    if (options.filter > PngFilters::kPaeth) return {};
    std::vector<uint8_t> out(PngChunks::kSignature, PngChunks::kSignature + 8);

    bool ok;
    PaletteBuilder::Indexed indexed;
    if (options.allowPalette && PaletteBuilder::BuildExactOnly(pixels, width, height, stride, indexed))
        ok = WritePaletteImage(out, indexed, width, height, options);
    else
        ok = WriteRgbImage(out, pixels, width, height, stride, options);
    if (!ok) out.clear();
    return out;
}

}  // namespace PngEncoder
