#include "editor/annotate/mark_geometry.h"

#include <algorithm>
#include <cmath>

namespace MarkGeometry {

Box Union(const Box& a, const Box& b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

Box Intersect(const Box& a, const Box& b) {
    Box r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
    if (r.Empty()) return {};
    return r;
}

Box Around(double x0, double y0, double x1, double y1) {
    // One pixel more each way: the antialiased fringe, and rounding never clips a stroke.
    return {static_cast<int>(std::floor(std::min(x0, x1))) - 1, static_cast<int>(std::floor(std::min(y0, y1))) - 1,
            static_cast<int>(std::floor(std::max(x0, x1))) + 2, static_cast<int>(std::floor(std::max(y0, y1))) + 2};
}

PointF Snap45(PointF anchor, PointF end) {
    const double dx = end.x - anchor.x, dy = end.y - anchor.y;
    if (dx == 0 && dy == 0) return end;
    const double step = 3.14159265358979323846 / 4;
    const double angle = std::round(std::atan2(dy, dx) / step) * step;
    const double ux = std::round(std::cos(angle)), uy = std::round(std::sin(angle));
    // Projected onto the chosen direction and rounded to whole pixels, so the end lands on a pixel
    // centre as the start did.
    const double along = std::round((dx * ux + dy * uy) / (ux * ux + uy * uy));
    return {anchor.x + ux * along, anchor.y + uy * along};
}

PointF SquareCorner(PointF anchor, PointF corner) {
    const double dx = corner.x - anchor.x, dy = corner.y - anchor.y;
    const double side = std::min(std::fabs(dx), std::fabs(dy));
    return {anchor.x + (dx < 0 ? -side : side), anchor.y + (dy < 0 ? -side : side)};
}

double HeadLength(double width) { return 4 * width + 6; }

Arrow ArrowShape(PointF from, PointF to, double width) {
    Arrow a;
    a.shaftStart = from;
    a.shaftEnd = to;
    a.tip = to;
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0) return a;
    a.hasHead = true;
    const double head = std::min(HeadLength(width), length);
    const double ux = dx / length, uy = dy / length;
    const PointF base{to.x - ux * head, to.y - uy * head};
    const double half = head / 2;
    a.left = {base.x + uy * half, base.y - ux * half};
    a.right = {base.x - uy * half, base.y + ux * half};
    // The shaft stops inside the head, so its round end never shows past the head's sides.
    const double into = std::min(head / 2, width);
    a.shaftEnd = {base.x + ux * into, base.y + uy * into};
    return a;
}

PointF FromClient(const ViewGeometry::Layout& layout, ViewGeometry::Point client) {
    const ViewGeometry::Point pixel = ViewGeometry::ClientToImage(layout, client);
    return {pixel.x + 0.5, pixel.y + 0.5};
}

Box ClientBoxOf(const ViewGeometry::Layout& layout, const Box& box) {
    if (box.Empty()) return {};
    const ViewGeometry::Point a = ViewGeometry::ImageToClient(layout, {box.left, box.top});
    const ViewGeometry::Point b = ViewGeometry::ImageToClient(layout, {box.right, box.bottom});
    // Below 100 % a reduced pixel mixes its neighbours: one more each way.
    const int margin = layout.zoom < 100 ? 1 : 0;
    return {a.x - margin, a.y - margin, b.x + margin, b.y + margin};
}

}  // namespace MarkGeometry
