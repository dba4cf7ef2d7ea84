#pragma once
// The rows of an RGB image as PNG stores them (platform-free): converted from 32-bit pixels,
// filtered, and deflated into one zlib stream. Large images are cut into bands of rows deflated on
// several threads at once; each band starts from the last 32 KB of the band before it as its
// dictionary and ends on a byte boundary, so the bands join into one ordinary stream that loses
// almost nothing to the cuts.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace PngRgbRows {

struct Settings {
    int level = 6;         // zlib's level
    int filter = -1;       // a filter type for every row, or -1 for each row's best guess
    int bands = 1;         // how many bands are deflated at once (at least 1)
};

// The zlib stream (header, deflate data, Adler-32) of the filtered rows; empty on failure.
std::vector<uint8_t> Deflate(const uint8_t* pixels, int width, int height, size_t stride, const Settings& settings);

// The bands worth using for an image of `height` rows on this machine: one per processor, at most
// four, each of at least 64 rows.
int BandsFor(int height);

}  // namespace PngRgbRows
