#pragma once
// Saving the image as a PNG file: its pixels read back from the bitmap (or the packed DIB of a
// direct grab) and handed to our encoder; the file is replaced in one step, so a failed save
// leaves any earlier file whole.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imagefile/png_encoder.h"

namespace PngFileWriter {

// False when nothing was written (no pixels, no memory, folder not writable).
bool WriteBitmap(HBITMAP bitmap, const std::string& path);
bool WriteDib(HGLOBAL dib, const std::string& path);

// The PNG file of `bitmap` in memory (the clipboard's "PNG"); empty on failure. The bitmap must
// not be selected into a device context.
std::vector<uint8_t> EncodeBitmap(HBITMAP bitmap, const PngEncoder::Options& options = PngEncoder::Options());

}  // namespace PngFileWriter
