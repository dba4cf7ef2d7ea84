#include "editor/rotation.h"

#include <cstring>
#include <limits>

namespace Rotation {

namespace {

constexpr size_t kMargin = 65536;

bool Quarter(int code) { return code == 90 || code == 270; }

}  // namespace

Size Turned(int width, int height, int code) {
    return Quarter(code) ? Size{height, width} : Size{width, height};
}

size_t Stride24(int width) {
    return width <= 0 ? 0 : (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
}

size_t BufferBytes24(int width, int height) {
    if (width < 0 || height < 0) return 0;
    uint64_t bytes = static_cast<uint64_t>(Stride24(width)) * static_cast<uint64_t>(height) + kMargin;
    if (bytes > std::numeric_limits<size_t>::max() / 2) return 0;
    return static_cast<size_t>(bytes);
}

void Turn24(const uint8_t* source, int w, int h, int code, uint8_t* target) {
    if (w <= 0 || h <= 0) return;
    const Size turned = Turned(w, h, code);
    const size_t sourceStride = Stride24(w);
    const size_t targetStride = Stride24(turned.width);
    if (code == 180) {
        for (int j = 0; j < h; ++j) {
            const uint8_t* from = source + j * sourceStride;
            uint8_t* row = target + (h - 1 - j) * targetStride;
            for (int i = w - 1; i >= 0; --i, from += 3) std::memcpy(row + i * 3, from, 3);
        }
        return;
    }
    if (!Quarter(code)) {
        for (int j = 0; j < h; ++j) std::memcpy(target + j * targetStride, source + j * sourceStride, w * 3);
        return;
    }
    // Quarter turns read rows and write columns: work in tiles so that both sides stay in cache.
    // Along a source row the destination runs down (code 90) or up (code 270) one row a pixel.
    constexpr int kTile = 64;
    const ptrdiff_t step = code == 90 ? -static_cast<ptrdiff_t>(targetStride) : static_cast<ptrdiff_t>(targetStride);
    for (int j0 = 0; j0 < h; j0 += kTile) {
        const int j1 = j0 + kTile < h ? j0 + kTile : h;
        for (int i0 = 0; i0 < w; i0 += kTile) {
            const int i1 = i0 + kTile < w ? i0 + kTile : w;
            for (int j = j0; j < j1; ++j) {
                // Destination column x and, for the first pixel i0, row y (from the bottom).
                const int x = code == 90 ? j : h - 1 - j;
                const int y = code == 90 ? w - 1 - i0 : i0;
                const uint8_t* from = source + j * sourceStride + i0 * 3;
                ptrdiff_t at = static_cast<ptrdiff_t>(y * targetStride + x * 3);
                for (int i = i0; i < i1; ++i, from += 3, at += step) {
                    uint8_t* to = target + at;
                    to[0] = from[0];
                    to[1] = from[1];
                    to[2] = from[2];
                }
            }
        }
    }
}

}  // namespace Rotation
