#pragma once
// The selection of the Select tool, in image pixels with all four edges inclusive
// (width = right - left + 1), and how a left-button drag changes it. The selection may lie partly
// or wholly outside the image; it is always at least one pixel wide and high.
#include "editor/view_geometry.h"

namespace SelectionRules {

using ViewGeometry::Point;

struct Selection {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
    bool operator==(const Selection& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// What a drag changes: the hit code under the pointer when the button went down.
enum DragKind {
    kTopLeft = 1, kTop = 2, kTopRight = 3, kLeft = 4, kRight = 5,
    kBottomLeft = 6, kBottom = 7, kBottomRight = 8,
    kMove = 9,          // inside the frame: the whole selection follows the pointer
    kNewRectangle = 10, // anywhere else: a new rectangle from the anchor
};

// A new 1 x 1 selection at `p`; the anchor becomes `p`.
Selection StartAt(Point p, Point& anchor);

// One pointer position `p` (image pixels) of a drag of `kind`. A handle dragged past the opposite
// edge stops there: the selection becomes one pixel wide or high and never flips. For kMove the
// anchor follows the pointer; for kNewRectangle it stays where the drag began.
void Drag(Selection& selection, int kind, Point p, Point& anchor);

}  // namespace SelectionRules
