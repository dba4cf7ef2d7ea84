// Writing device-independent bitmaps as .bmp files, exactly as delivered (no conversion).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Bytes taken by the header, the bit masks and the colour table of a packed DIB (what CF_DIB holds
// in front of the pixels); 0 when the header makes no sense.
size_t dibInfoSize(const BITMAPINFOHEADER& header);

// Bytes of pixel data the header describes (rows padded to 4 bytes); 0 for compressed or bad headers
// whose size cannot be known.
size_t dibPixelSize(const BITMAPINFOHEADER& header);

// Writes a file header, `info` (header, masks, colour table) and the pixels. The file appears
// complete or not at all: it is written under a temporary name and renamed into place.
bool writeBmpFile(const std::string& path, const void* info, size_t infoSize, const void* pixels,
                  size_t pixelSize, std::string* error);
