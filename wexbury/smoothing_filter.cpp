#include "wexbury/smoothing_filter.h"

namespace wexbury {

bool SmoothedRows::FetchRows(int first, int count, const uint8_t** rows) {
    constexpr int kMaxBand = 64;
    const int w = Width(), h = Height();
    if (count <= 0 || count > kMaxBand || first < 0 || first + count > h) return false;
    const size_t rowBytes = size_t(w) * 3;
    if (band_.size() < rowBytes * size_t(count) && !band_.Allocate(rowBytes * size_t(count)))
        return false;

    // The band with one row of context above and below where the picture has one.
    const int above = first > 0 ? 1 : 0;
    const int below = first + count < h ? 1 : 0;
    const uint8_t* source[kMaxBand + 2];
    if (!inner_.FetchRows(first - above, count + above + below, source)) return false;
    auto sourceRow = [&](int i) {  // i = -1 .. count, clamped to the picture
        const int j = i + above;
        return source[j < 0 ? 0 : j > count + above + below - 1 ? count + above + below - 1 : j];
    };

    // Weights scaled by 2^16: the neighbours' share and what is left for the centre.
    const int neighbourWeight = kSmoothingFactor * 64;
    const int centreWeight = 65536 - 8 * neighbourWeight;
    for (int i = 0; i < count; ++i) {
        const uint8_t* up = sourceRow(i - 1);
        const uint8_t* row = sourceRow(i);
        const uint8_t* down = sourceRow(i + 1);
        uint8_t* dst = band_.data() + rowBytes * size_t(i);
        for (int x = 0; x < w; ++x) {
            const int left = 3 * (x > 0 ? x - 1 : 0), mid = 3 * x;
            const int right = 3 * (x + 1 < w ? x + 1 : w - 1);
            for (int c = 0; c < 3; ++c) {
                const int centre = row[mid + c];
                const int neighbours = up[left + c] + up[mid + c] + up[right + c] +
                                       row[left + c] + row[right + c] + down[left + c] +
                                       down[mid + c] + down[right + c];
                dst[mid + c] = uint8_t(
                    (centre * centreWeight + neighbours * neighbourWeight + 32768) >> 16);
            }
        }
        rows[i] = dst;
    }
    return true;
}

}  // namespace wexbury
