#pragma once
// GIF saves: a palette BMP (8 or 4 bits per pixel) turned into a single-image GIF89a file whose
// global colour table is the BMP's own table, every pixel keeping its palette index.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imagefile/palette_bmp_reader.h"

// The whole GIF file of `image`: header, global colour table, image descriptor, LZW image data and
// trailer. No extension block of any kind. `image` is as ReadPaletteBmp makes it: 8 or 4 bits per
// pixel, 2^bits palette entries, width * height indices below 2^bits.
std::vector<uint8_t> EncodeGif(const PaletteImage& image);

// The same from the bytes of a BMP file held in memory; `gif` is filled only on Ok.
PaletteBmpStatus EncodeGifFromBmpBytes(const uint8_t* bmp, size_t size, std::vector<uint8_t>& gif);

// Writes the GIF of the BMP file at `bmpPath` to `gifPath`. A BMP of another depth (24 bits, say)
// leaves an empty file at `gifPath`. An input that cannot be read, is cut short or claims sizes its
// file cannot hold leaves no file at `gifPath` at all.
void EncodeGifFromBmp(std::string bmpPath, std::string gifPath);
