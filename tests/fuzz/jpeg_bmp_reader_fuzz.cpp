// fuzz-sources: wexbury/bmp_reader.cpp wexbury/coefficient_image.cpp wexbury/colour_convert.cpp wexbury/forward_dct.cpp wexbury/forward_dct_sse2.cpp wexbury/huffman_table.cpp wexbury/image_transform.cpp wexbury/jfif_markers.cpp wexbury/jpeg_encoder.cpp wexbury/quant_tables.cpp wexbury/scan_encoder.cpp wexbury/scan_script.cpp wexbury/smoothing_filter.cpp
// Arbitrary bytes as a BMP file: the reader must refuse or decode them without reading outside
// the buffer, and what it accepts (when small) must encode in every mode without a fault.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "wexbury/bmp_reader.h"
#include "wexbury/jpeg_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    wexbury::HeapBuffer<uint8_t> file;
    // An exact-size copy, so the sanitizer sees any read past the file's last byte.
    if (!file.Allocate(size)) return 0;
    if (size) std::memcpy(file.data(), data, size);
    wexbury::RgbImage image;
    if (wexbury::DecodeBmp(std::move(file), image) != wexbury::BmpError::None) return 0;

    // Touch every pixel the reader says is there.
    unsigned sum = 0;
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* row = image.Row(y);
        sum += row[0] + row[3 * image.width - 1];
    }
    if (uint64_t(image.width) * uint64_t(image.height) > 64 * 64) return int(sum & 0);

    // The options ride in the reserved header bytes, so the corpus covers every mode.
    const uint8_t flags = size > 6 ? data[6] : 0;
    wexbury::JpegOptions options;
    options.quality = size > 7 ? data[7] % 101 : 75;
    options.progressive = flags & 1;
    options.grayscale = flags & 2;
    options.smoothing = flags & 4;
    wexbury::ByteSink jpeg;
    wexbury::EncodeJpeg(image, options, jpeg);
    return 0;
}
