#pragma once
// The whole job of the library's export: read a BMP file, write a JPEG file. The JPEG is built in
// memory first and written only when it is complete, so bad input leaves no file behind; a write
// that fails half-way removes what it wrote. The BMP file is only ever opened for reading.
#include "wexbury/jpeg_encoder.h"

namespace wexbury {

// The export's raw arguments: quality is clamped to 0..100, and of each flag only the low byte
// counts (callers pass a one-byte setting in a 32-bit slot).
JpegOptions OptionsFromCallArguments(int quality, int progressive, int grayscale, int smoothing);

// True when the JPEG file was written completely.
bool SaveBmpAsJpeg(const char* bmpPath, const char* jpegPath, const JpegOptions& options);

}  // namespace wexbury
