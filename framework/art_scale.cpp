#include "framework/art_scale.h"

int ArtSizeForDpi(int dpi, const std::vector<int>& sizes) {
    if (sizes.empty()) return 0;
    int chosen = sizes.front();
    if (dpi <= 96) return chosen;
    // Compared in whole numbers: size * 96 <= base * dpi.
    const long long room = static_cast<long long>(sizes.front()) * dpi;
    for (int size : sizes)
        if (static_cast<long long>(size) * 96 <= room) chosen = size;
    return chosen;
}
