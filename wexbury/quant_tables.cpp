#include "wexbury/quant_tables.h"

namespace wexbury {

namespace {

// Tables K.1 and K.2 of the standard, natural order.
const uint8_t kLumaBase[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99,
};
const uint8_t kChromaBase[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
};

}  // namespace

int ClampQuality(int quality) {
    if (quality < 1) return 1;
    if (quality > 100) return 100;
    return quality;
}

void ScaledQuantTable(QuantTableKind kind, int quality, uint16_t out[64]) {
    const int q = ClampQuality(quality);
    // Percentage scale: 5000/q below 50, falling linearly to 0 at 100.
    const long scale = q < 50 ? 5000 / q : 200 - 2 * q;
    const uint8_t* base = kind == QuantTableKind::Luma ? kLumaBase : kChromaBase;
    for (int i = 0; i < 64; ++i) {
        long v = (base[i] * scale + 50) / 100;
        if (v < 1) v = 1;
        if (v > 255) v = 255;
        out[i] = uint16_t(v);
    }
}

}  // namespace wexbury
