#include "wexbury/save_jpeg.h"

#include <cstdio>
#include <cstring>

#include "wexbury/bmp_reader.h"

namespace wexbury {
namespace {

bool LowByteSet(int flag) { return (unsigned(flag) & 0xFFu) != 0; }

bool WriteFile(const char* path, const ByteSink& bytes) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) return false;
    const bool written = std::fwrite(bytes.Data(), 1, bytes.Size(), f) == bytes.Size();
    const bool closed = std::fclose(f) == 0;
    if (written && closed) return true;
    std::remove(path);  // a short JPEG is worse than none
    return false;
}

}  // namespace

JpegOptions OptionsFromCallArguments(int quality, int progressive, int grayscale, int smoothing) {
    JpegOptions options;
    options.quality = quality < 0 ? 0 : quality > 100 ? 100 : quality;
    options.progressive = LowByteSet(progressive);
    options.grayscale = LowByteSet(grayscale);
    options.smoothing = LowByteSet(smoothing);
    return options;
}

bool SaveBmpAsJpeg(const char* bmpPath, const char* jpegPath, const JpegOptions& options) {
    // Writing onto the source would destroy the BMP the caller keeps.
    if (!bmpPath || !jpegPath || std::strcmp(bmpPath, jpegPath) == 0) return false;
    ByteSink jpeg;
    {
        FileBytes bytes;
        BmpReader bmp;
        if (!bytes.Open(bmpPath) || bmp.Open(bytes) != BmpError::None) return false;
        if (!EncodeJpeg(bmp, options, jpeg)) return false;
    }  // the BMP is closed before the JPEG is written
    return WriteFile(jpegPath, jpeg);
}

}  // namespace wexbury
