#pragma once
// The selection frame on screen: the frame rectangle (a, b, c, d) in client pixels, where (a, b)
// is the client point of the selection's top-left pixel and (c, d) that of the pixel one past its
// bottom-right, and the eight 5 x 5 handles 3 pixels outside it. Rectangles are left, top, right,
// bottom with right and bottom outside.
#include <array>

namespace OutlineGeometry {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// The hit codes, as the drag kinds of SelectionRules (1..8 the handles in reading order).
constexpr int kInside = 9;
constexpr int kOutside = 10;

// Handles 1 to 8: top-left, top-middle, top-right, middle-left, middle-right, bottom-left,
// bottom-middle, bottom-right. A frame narrower (lower) than 5 pixels spreads its handles over a
// 5-pixel width (height) centred on it, so that they never overlap.
std::array<Rect, 8> Handles(Rect frame);

// 9 inside the frame (left and top edges inside, right and bottom outside), else the number of the
// first handle that holds the point, else 10.
int HitTest(Rect frame, int x, int y);

}  // namespace OutlineGeometry
