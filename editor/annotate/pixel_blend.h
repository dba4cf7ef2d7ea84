#pragma once
// Laying a tool's colour onto 32-bit pixels (0x00RRGGBB in memory order B, G, R, X, as a 32-bit
// DIB holds them) through a coverage mask. Colours are 0x00BBGGRR (COLORREF).
#include <cstdint>

#include "editor/annotate/coverage_mask.h"

// Pixels of one area of the image: `pixels` holds `area`'s rows top-down, `stride` pixels apart.
struct PixelArea {
    uint32_t* pixels = nullptr;
    int stride = 0;
    MarkGeometry::Box area;

    uint32_t& At(int x, int y) const {
        return pixels[static_cast<long long>(y - area.top) * stride + (x - area.left)];
    }
};

namespace PixelBlend {

// Ink: the colour over the pixels, in proportion to the coverage.
void Paint(const PixelArea& target, const CoverageMask& mask, uint32_t colour);
// Marker: each channel multiplied by the colour's (white paper takes the colour, dark text stays
// dark), in proportion to the coverage.
void Multiply(const PixelArea& target, const CoverageMask& mask, uint32_t colour);

// 0x00RRGGBB pixel of a COLORREF, and back.
inline uint32_t PixelOf(uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace PixelBlend
