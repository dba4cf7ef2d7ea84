// fuzz-sources: wexbury/bmp_reader.cpp wexbury/coefficient_image.cpp wexbury/colour_convert.cpp wexbury/forward_dct.cpp wexbury/forward_dct_sse2.cpp wexbury/huffman_table.cpp wexbury/image_transform.cpp wexbury/jfif_markers.cpp wexbury/jpeg_encoder.cpp wexbury/quant_tables.cpp wexbury/scan_encoder.cpp wexbury/scan_script.cpp wexbury/smoothing_filter.cpp
// Arbitrary bytes as a BMP file: the reader must refuse or decode them without reading outside
// the buffer, and what it accepts (when small) must encode in every mode without a fault.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "wexbury/bmp_reader.h"
#include "wexbury/heap_buffer.h"
#include "wexbury/jpeg_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    wexbury::HeapBuffer<uint8_t> file;
    // An exact-size copy, so the sanitizer sees any read past the file's last byte.
    if (!file.Allocate(size)) return 0;
    if (size) std::memcpy(file.data(), data, size);
    wexbury::MemoryBytes bytes(file.data(), size);
    wexbury::BmpReader reader;
    if (reader.Open(bytes) != wexbury::BmpError::None) return 0;

    if (uint64_t(reader.Width()) * uint64_t(reader.Height()) > 64 * 64) {
        // Too big to encode at fuzzing speed: fetch every row the reader says is there.
        const uint8_t* rows[16];
        unsigned sum = 0;
        for (int y = 0; y < reader.Height(); y += 16) {
            const int count = reader.Height() - y < 16 ? reader.Height() - y : 16;
            if (!reader.FetchRows(y, count, rows)) __builtin_trap();  // the headers were checked
            for (int i = 0; i < count; ++i) sum += rows[i][0] + rows[i][3 * reader.Width() - 1];
        }
        return int(sum & 0);
    }

    // The options ride in the reserved header bytes, so the corpus covers every mode.
    const uint8_t flags = size > 6 ? data[6] : 0;
    wexbury::JpegOptions options;
    options.quality = size > 7 ? data[7] % 101 : 75;
    options.progressive = flags & 1;
    options.grayscale = flags & 2;
    options.smoothing = flags & 4;
    wexbury::ByteSink jpeg;
    if (!wexbury::EncodeJpeg(reader, options, jpeg)) __builtin_trap();
    return 0;
}
