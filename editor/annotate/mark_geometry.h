#pragma once
// The shapes of the drawing tools in image coordinates: points are doubles, pixel (x, y) covers
// [x, x + 1) x [y, y + 1), so a mouse position becomes the centre of the pixel under it.

#include "editor/view_geometry.h"

namespace MarkGeometry {

struct PointF {
    double x = 0, y = 0;
};

// A rectangle of whole pixels, right and bottom exclusive.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Box& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
Box Union(const Box& a, const Box& b);  // an empty box adds nothing
Box Intersect(const Box& a, const Box& b);
// The whole pixels a shape spanning [x0, x1] x [y0, y1] can touch, antialiased edge included.
Box Around(double x0, double y0, double x1, double y1);

// Shift with the arrow: the end turned to the nearest multiple of 45 degrees around `anchor`,
// keeping its distance along that direction.
PointF Snap45(PointF anchor, PointF end);
// Shift with the rectangle: the corner moved so that both sides are as long as the shorter one.
PointF SquareCorner(PointF anchor, PointF corner);

// A straight arrow: the shaft from `from` to the base of the head, and the filled head whose tip
// is `to`. The head grows with the line width and shrinks on lines shorter than it.
struct Arrow {
    PointF shaftStart, shaftEnd;
    PointF tip, left, right;  // the head's triangle
    bool hasHead = false;     // false when from == to: nothing to point with
};
Arrow ArrowShape(PointF from, PointF to, double width);
// The length of a full arrow head for a line width (the head's base is as wide as it is long).
double HeadLength(double width);

// Where the view maps image and window: the centre of the image pixel under client point
// `client` (the editor's exact mapping, so a stroke lands under the mouse at every zoom), and the
// client pixels that show the image pixels of `box` (what to repaint when they change).
PointF FromClient(const ViewGeometry::Layout& layout, ViewGeometry::Point client);
Box ClientBoxOf(const ViewGeometry::Layout& layout, const Box& box);

}  // namespace MarkGeometry
