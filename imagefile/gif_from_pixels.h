#pragma once
// A GIF save straight from a true-colour image held in memory (platform-free): the 8-bit palette
// fitted to the image, then the GIF file, with no intermediate file on disk.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A GIF stores each side in 16 bits.
constexpr int kGifMaxSide = 65535;

// Whether an image of these sides can be saved as a GIF at all.
bool GifCanHold(int width, int height);

// What the user is told when an image is too large for a GIF.
std::string GifTooLargeMessage(int width, int height);

// The whole GIF file of `pixels` (rows of 32-bit pixels: blue, green, red, unused; top row first,
// `stride` bytes apart); empty when GifCanHold refuses the sides.
std::vector<uint8_t> EncodeGifFromPixels(const uint8_t* pixels, int width, int height, size_t stride);
