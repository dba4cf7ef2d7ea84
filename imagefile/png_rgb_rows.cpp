#include "imagefile/png_rgb_rows.h"

#include <zlib.h>

#include <algorithm>
#include <thread>

#include "imagefile/png_filters.h"

namespace PngRgbRows {
namespace {

constexpr size_t kWindow = 32768;
constexpr int kMinBandRows = 64;
constexpr int kMaxBands = 4;

// Produces the filtered rows (filter-type byte first) from a given row on, one after another.
class RowFilter {
public:
    RowFilter(const uint8_t* pixels, int width, size_t stride, int filter)
        : pixels_(pixels), stride_(stride), rowBytes_(size_t(width) * 3), filter_(filter),
          row_(rowBytes_), prior_(rowBytes_), scratch_(rowBytes_), out_(rowBytes_ + 1) {}

    void Start(int y) {
        next_ = y;
        if (y > 0) ToRgb(y - 1, prior_.data());
    }

    // The next row, filter byte first: rowBytes + 1 bytes.
    const std::vector<uint8_t>& Next() {
        ToRgb(next_, row_.data());
        const uint8_t* above = next_ > 0 ? prior_.data() : nullptr;
        uint8_t* bytes = out_.data() + 1;
        if (filter_ >= 0) {
            out_[0] = static_cast<uint8_t>(filter_);
            PngFilters::Filter(static_cast<PngFilters::Type>(filter_), row_.data(), above, rowBytes_, 3, bytes);
        } else {
            out_[0] = PngFilters::FilterBest(row_.data(), above, rowBytes_, 3, bytes, scratch_.data());
        }
        row_.swap(prior_);
        ++next_;
        return out_;
    }

private:
    void ToRgb(int y, uint8_t* rgb) const {
        const uint8_t* from = pixels_ + size_t(y) * stride_;
        for (size_t x = 0, at = 0; at < rowBytes_; ++x, at += 3) {
            rgb[at] = from[x * 4 + 2];
            rgb[at + 1] = from[x * 4 + 1];
            rgb[at + 2] = from[x * 4];
        }
    }

    const uint8_t* pixels_;
    size_t stride_, rowBytes_;
    int filter_;
    int next_ = 0;
    std::vector<uint8_t> row_, prior_, scratch_, out_;
};

struct Band {
    int firstRow = 0, endRow = 0;
    bool last = false;
    std::vector<uint8_t> deflated;  // raw deflate data, ending on a byte boundary
    uLong adler = 1;                // of the band's filtered bytes
    uLong length = 0;               // of the band's filtered bytes
    bool ok = false;
};

bool Feed(z_stream& stream, const uint8_t* bytes, size_t length, int flush, std::vector<uint8_t>& out) {
    stream.next_in = const_cast<Bytef*>(bytes);
    stream.avail_in = static_cast<uInt>(length);
    uint8_t buffer[65536];
    for (;;) {
        stream.next_out = buffer;
        stream.avail_out = sizeof buffer;
        const int result = deflate(&stream, flush);
        if (result == Z_STREAM_ERROR) return false;
        out.insert(out.end(), buffer, buffer + (sizeof buffer - stream.avail_out));
        if (flush == Z_FINISH ? result == Z_STREAM_END : stream.avail_in == 0 && stream.avail_out != 0) return true;
    }
}

void DeflateBand(const uint8_t* pixels, int width, size_t stride, const Settings& settings, Band& band) {
    const size_t rowLength = size_t(width) * 3 + 1;
    z_stream stream{};
    const int strategy = settings.filter == PngFilters::kNone ? Z_DEFAULT_STRATEGY : Z_FILTERED;
    if (deflateInit2(&stream, settings.level, Z_DEFLATED, -15, 9, strategy) != Z_OK) return;
    RowFilter rows(pixels, width, stride, settings.filter);
    if (band.firstRow > 0) {
        // The end of the band before, as the encoder of that band saw it.
        const int before = int(std::min<size_t>(size_t(band.firstRow), (kWindow + rowLength - 1) / rowLength));
        std::vector<uint8_t> dictionary;
        rows.Start(band.firstRow - before);
        for (int i = 0; i < before; ++i) {
            const std::vector<uint8_t>& row = rows.Next();
            dictionary.insert(dictionary.end(), row.begin(), row.end());
        }
        const size_t keep = std::min(dictionary.size(), kWindow);
        deflateSetDictionary(&stream, dictionary.data() + dictionary.size() - keep, static_cast<uInt>(keep));
    } else {
        rows.Start(0);
    }
    bool ok = true;
    for (int y = band.firstRow; ok && y < band.endRow; ++y) {
        const std::vector<uint8_t>& row = rows.Next();
        band.adler = adler32(band.adler, row.data(), static_cast<uInt>(row.size()));
        band.length += static_cast<uLong>(row.size());
        ok = Feed(stream, row.data(), row.size(), Z_NO_FLUSH, band.deflated);
    }
    // A band that is not the last ends with an empty stored block, on a byte boundary, so the next
    // band's data can follow it directly.
    ok = ok && Feed(stream, nullptr, 0, band.last ? Z_FINISH : Z_SYNC_FLUSH, band.deflated);
    deflateEnd(&stream);
    band.ok = ok;
}

}  // namespace

int BandsFor(int height) {
    const int processors = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    return std::max(1, std::min({processors, kMaxBands, height / kMinBandRows}));
}

std::vector<uint8_t> Deflate(const uint8_t* pixels, int width, int height, size_t stride, const Settings& settings) {
    const int count = std::max(1, std::min(settings.bands, height));
    std::vector<Band> bands(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        bands[i].firstRow = int(int64_t(height) * i / count);
        bands[i].endRow = int(int64_t(height) * (i + 1) / count);
        bands[i].last = i == count - 1;
    }
    std::vector<std::thread> helpers;
    for (int i = 1; i < count; ++i)
        helpers.emplace_back(DeflateBand, pixels, width, stride, std::cref(settings), std::ref(bands[i]));
    DeflateBand(pixels, width, stride, settings, bands[0]);
    for (std::thread& helper : helpers) helper.join();

    // zlib's header (deflate, 32 KB window, no dictionary), the bands, then the Adler-32 of all.
    std::vector<uint8_t> stream = {0x78, 0x9C};
    uLong adler = 1;
    for (const Band& band : bands) {
        if (!band.ok) return {};
        stream.insert(stream.end(), band.deflated.begin(), band.deflated.end());
        adler = adler32_combine(adler, band.adler, static_cast<z_off_t>(band.length));
    }
    for (int shift = 24; shift >= 0; shift -= 8) stream.push_back(static_cast<uint8_t>(adler >> shift));
    return stream;
}

}  // namespace PngRgbRows
