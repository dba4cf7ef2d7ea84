#pragma once
// Writing images as BMP files: a device-dependent bitmap at a chosen depth, or a packed
// device-independent bitmap as it stands. Also the 32-bit pixels of either, which GIF saves start from.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace BmpWriter {

// The depth a BMP save takes on this display: 1, 4 or 8 bits on displays that deep, 24 bits on
// anything deeper (so 16- and 32-bit displays give 24-bit files).
int DisplayDepth();

// Writes `bitmap` at `depth` bits per pixel (colour table through the stock default palette).
// False when nothing usable was written; a file left half-written is removed.
bool WriteBitmapAsBmp(HBITMAP bitmap, const std::string& path, int depth);

// Writes the packed DIB `block` (header, colour table, pixels) behind a 14-byte file header.
bool WriteDibAsBmp(const std::string& path, HGLOBAL block);

// The pixels of `bitmap`, or of the packed DIB `block` at any depth, as top-down 32-bit rows (blue,
// green, red, unused), with the image's sides; empty when they cannot be read.
std::vector<uint8_t> Pixels32OfBitmap(HBITMAP bitmap, int& width, int& height);
std::vector<uint8_t> Pixels32OfDib(HGLOBAL block, int& width, int& height);

// The sides of the packed DIB `block`; false when it holds no usable header.
bool SizeOfDib(HGLOBAL block, int& width, int& height);

// Writes `bitmap` as an 8-bit BMP whose 256-entry table holds exactly the image's colours when it
// has no more than 256, and otherwise an adaptive palette built for the image: the input of the
// GIF encoder, which keeps every index.
bool WriteBitmapAsIndexedBmp(HBITMAP bitmap, const std::string& path);
// The same for a packed DIB of any depth.
bool WriteDibAsIndexedBmp(HGLOBAL block, const std::string& path);

}  // namespace BmpWriter
