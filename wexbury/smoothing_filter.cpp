#include "wexbury/smoothing_filter.h"

namespace wexbury {

bool SmoothImage(const RgbImage& image, RgbImage& smoothed) {
    const int w = image.width, h = image.height;
    const size_t rowBytes = size_t(w) * 3;
    if (!smoothed.storage.Allocate(rowBytes * size_t(h))) return false;
    smoothed.width = w;
    smoothed.height = h;
    smoothed.topRow = smoothed.storage.data();
    smoothed.stride = ptrdiff_t(rowBytes);

    // Weights scaled by 2^16: the neighbours' share and what is left for the centre.
    const int neighbourWeight = kSmoothingFactor * 64;
    const int centreWeight = 65536 - 8 * neighbourWeight;
    for (int y = 0; y < h; ++y) {
        // Past the edges the border pixels repeat.
        const uint8_t* above = image.Row(y > 0 ? y - 1 : 0);
        const uint8_t* row = image.Row(y);
        const uint8_t* below = image.Row(y + 1 < h ? y + 1 : h - 1);
        uint8_t* dst = smoothed.storage.data() + size_t(y) * rowBytes;
        for (int x = 0; x < w; ++x) {
            const int left = 3 * (x > 0 ? x - 1 : 0), mid = 3 * x,
                      right = 3 * (x + 1 < w ? x + 1 : w - 1);
            for (int c = 0; c < 3; ++c) {
                const int centre = row[mid + c];
                const int neighbours = above[left + c] + above[mid + c] + above[right + c] +
                                       row[left + c] + row[right + c] + below[left + c] +
                                       below[mid + c] + below[right + c];
                dst[mid + c] =
                    uint8_t((centre * centreWeight + neighbours * neighbourWeight + 32768) >> 16);
            }
        }
    }
    return true;
}

}  // namespace wexbury
