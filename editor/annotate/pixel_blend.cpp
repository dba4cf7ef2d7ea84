#include "editor/annotate/pixel_blend.h"

namespace PixelBlend {

namespace {

template <typename Mix>
void Blend(const PixelArea& target, const CoverageMask& mask, Mix mix) {
    const MarkGeometry::Box box = MarkGeometry::Intersect(target.area, mask.Area());
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const uint32_t a = mask.At(x, y);
            if (!a) continue;
            uint32_t& pixel = target.At(x, y);
            uint32_t out = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                const uint32_t below = (pixel >> shift) & 0xFF;
                const uint32_t over = mix(below, shift);
                // Rounded (below * (255 - a) + over * a) / 255.
                const uint32_t value = (below * (255 - a) + over * a + 127) / 255;
                out |= value << shift;
            }
            pixel = out;
        }
    }
}

}  // namespace

void Paint(const PixelArea& target, const CoverageMask& mask, uint32_t colour) {
    const uint32_t ink = PixelOf(colour);
    Blend(target, mask, [ink](uint32_t, int shift) { return (ink >> shift) & 0xFF; });
}

void Multiply(const PixelArea& target, const CoverageMask& mask, uint32_t colour) {
    const uint32_t ink = PixelOf(colour);
    Blend(target, mask, [ink](uint32_t below, int shift) { return (below * ((ink >> shift) & 0xFF) + 127) / 255; });
}

}  // namespace PixelBlend
