// fuzz-sources: imagefile/png_chunks.cpp imagefile/png_filters.cpp imagefile/png_decoder.cpp imagefile/png_encoder.cpp imagefile/image_file_check.cpp imagefile/palette_builder.cpp
// fuzz-libs: z
// Arbitrary bytes taken as a PNG file. The decoder must refuse them or decode them without stepping
// outside the input, and whatever it decodes must survive our encoder and decode again unchanged.
#include <cstdlib>
#include <vector>

#include "imagefile/png_decoder.h"
#include "imagefile/png_encoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PngDecoder::Image image;
    if (PngDecoder::Decode(data, size, image) != PngDecoder::Status::kDecoded) return 0;
    if (image.pixels.size() != size_t(image.width) * size_t(image.height) * 4) std::abort();
    // Keep the round trip cheap: the decoder's limits allow far larger pictures than a fuzzer wants.
    if (size_t(image.width) * size_t(image.height) > (1u << 20)) return 0;
    const std::vector<uint8_t> file =
        PngEncoder::Encode(image.pixels.data(), image.width, image.height, size_t(image.width) * 4);
    PngDecoder::Image again;
    if (PngDecoder::Decode(file.data(), file.size(), again) != PngDecoder::Status::kDecoded) std::abort();
    if (again.width != image.width || again.height != image.height || again.pixels != image.pixels) std::abort();
    return 0;
}
