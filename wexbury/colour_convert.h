#pragma once
// RGB to YCbCr (JFIF, full range), giving float samples centred on zero for the DCT.
#include <cstdint>

namespace wexbury {

// The conversion's chroma rows: Cb and Cr from red, green and blue.
inline constexpr float kCbR = -0.168735892f, kCbG = -0.331264108f, kCbB = 0.5f;
inline constexpr float kCrR = 0.5f, kCrG = -0.418687589f, kCrB = -0.081312411f;

// Two source rows of blue-green-red pixels (`upper` above `lower`) -> two rows of luma and one
// row of chroma, each chroma sample the average of a 2x2 square. Out to `paddedWidth` (even)
// luma samples, positions past `width` repeat the last pixel. Chroma rows get paddedWidth / 2.
void ConvertRowPair420(const uint8_t* upper, const uint8_t* lower, int width, int paddedWidth,
                       float* lumaUpper, float* lumaLower, float* cb, float* cr);

// The chroma of ConvertRowPair420 alone.
void ConvertChromaPair420(const uint8_t* upper, const uint8_t* lower, int width, int paddedWidth,
                          float* cb, float* cr);

// One row, luma only, for grayscale files.
void ConvertRowLuma(const uint8_t* row, int width, int paddedWidth, float* luma);

}  // namespace wexbury
