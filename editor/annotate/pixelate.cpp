#include "editor/annotate/pixelate.h"

#include <algorithm>
#include <cmath>

namespace Pixelate {

namespace {

// xorshift32: small, fast and good enough to hide an average; not for secrets of its own.
uint32_t Next(uint32_t& state) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

constexpr int kNoise = 6;  // each channel moves by 1..kNoise either way

int Noisy(int value, uint32_t& state) {
    const uint32_t r = Next(state);
    int step = 1 + static_cast<int>(r % kNoise);
    if (r & 0x100) step = -step;
    // Away from the ends of the range, so the step is never clamped back to the mean.
    if (value + step < 0 || value + step > 255) step = -step;
    return value + step;
}

bool AnyPixelIs(const PixelArea& target, const MarkGeometry::Box& block, uint32_t colour) {
    for (int y = block.top; y < block.bottom; ++y)
        for (int x = block.left; x < block.right; ++x)
            if ((target.At(x, y) & 0xFFFFFF) == colour) return true;
    return false;
}

void FillBlock(const PixelArea& target, const MarkGeometry::Box& block, uint32_t& state) {
    uint64_t sum[3] = {0, 0, 0};
    for (int y = block.top; y < block.bottom; ++y) {
        for (int x = block.left; x < block.right; ++x) {
            const uint32_t p = target.At(x, y);
            sum[0] += p & 0xFF, sum[1] += (p >> 8) & 0xFF, sum[2] += (p >> 16) & 0xFF;
        }
    }
    const uint64_t count = static_cast<uint64_t>(block.Width()) * static_cast<uint64_t>(block.Height());
    uint32_t colour = 0;
    // Every channel moves, so even a block of one flat colour changes; a colour that some pixel of
    // the block already has is drawn again.
    for (int attempt = 0; attempt < 16; ++attempt) {
        colour = 0;
        for (int c = 0; c < 3; ++c) {
            const int mean = static_cast<int>((sum[c] + count / 2) / count);
            colour |= static_cast<uint32_t>(Noisy(mean, state)) << (8 * c);
        }
        if (!AnyPixelIs(target, block, colour)) break;
    }
    for (int y = block.top; y < block.bottom; ++y)
        for (int x = block.left; x < block.right; ++x) target.At(x, y) = colour;
}

}  // namespace

int BlockSize(int width, int height) {
    const double area = static_cast<double>(std::max(width, 0)) * std::max(height, 0);
    return std::max(8, static_cast<int>(std::sqrt(area) / 12));
}

void Apply(const PixelArea& target, MarkGeometry::Box region, uint32_t seed) {
    const int size = BlockSize(region.Width(), region.Height());
    const MarkGeometry::Box visible = MarkGeometry::Intersect(region, target.area);
    uint32_t state = seed ? seed : 0x9E3779B9u;
    for (int top = region.top; top < region.bottom; top += size) {
        for (int left = region.left; left < region.right; left += size) {
            const MarkGeometry::Box block = MarkGeometry::Intersect(
                {left, top, std::min(left + size, region.right), std::min(top + size, region.bottom)}, visible);
            if (!block.Empty()) FillBlock(target, block, state);
        }
    }
}

}  // namespace Pixelate
