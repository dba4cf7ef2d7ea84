#include "editor/outline_geometry.h"

namespace OutlineGeometry {

namespace {

// Spreads a span narrower than 5 pixels over 5, centred on it.
void Spread(int& low, int& high) {
    if (high - low >= 5) return;
    int middle = (low + high) / 2;
    low = middle - 2;
    high = middle + 3;
}

}  // namespace

std::array<Rect, 8> Handles(Rect f) {
    int a = f.left, b = f.top, c = f.right, d = f.bottom;
    Spread(a, c);
    Spread(b, d);
    int mx = (a + c) / 2, my = (b + d) / 2;
    return {{
        {a - 8, b - 8, a - 3, b - 3},
        {mx - 2, b - 8, mx + 3, b - 3},
        {c + 3, b - 8, c + 8, b - 3},
        {a - 8, my - 2, a - 3, my + 3},
        {c + 3, my - 2, c + 8, my + 3},
        {a - 8, d + 3, a - 3, d + 8},
        {mx - 2, d + 3, mx + 3, d + 8},
        {c + 3, d + 3, c + 8, d + 8},
    }};
}

int HitTest(Rect frame, int x, int y) {
    if (frame.Contains(x, y)) return kInside;
    std::array<Rect, 8> handles = Handles(frame);
    for (int i = 0; i < 8; ++i)
        if (handles[i].Contains(x, y)) return i + 1;
    return kOutside;
}

}  // namespace OutlineGeometry
