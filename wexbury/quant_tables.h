#pragma once
// Quantisation: the example tables of the JPEG standard, scaled by quality the way the IJG
// library does it, so a "quality 75" here means what it means to every other encoder.
#include <cstdint>

namespace wexbury {

// Position in the 8x8 block (row * 8 + column) of the k-th coefficient in zigzag order.
inline constexpr uint8_t kZigzagToNatural[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
};

enum class QuantTableKind { Luma, Chroma };

// Quality 0 and below act as 1, above 100 as 100.
int ClampQuality(int quality);

// The scaled table in natural order; entries are 1..255 (baseline-compatible).
void ScaledQuantTable(QuantTableKind kind, int quality, uint16_t out[64]);

}  // namespace wexbury
