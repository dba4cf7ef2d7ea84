#include "editor/annotate/mark.h"

#include <algorithm>

#include "editor/annotate/coverage_mask.h"
#include "editor/annotate/pixelate.h"

using MarkGeometry::Box;
using MarkGeometry::PointF;

namespace {

double StrokeWidth(const Mark& m) {
    return m.kind == Mark::kHighlighter ? m.width * Mark::kHighlighterFactor : m.width;
}

Box PathBounds(const PointF* points, size_t count, double width) {
    if (!count) return {};
    double x0 = points[0].x, y0 = points[0].y, x1 = x0, y1 = y0;
    for (size_t i = 1; i < count; ++i) {
        x0 = std::min(x0, points[i].x), y0 = std::min(y0, points[i].y);
        x1 = std::max(x1, points[i].x), y1 = std::max(y1, points[i].y);
    }
    const double half = width / 2;
    return MarkGeometry::Around(x0 - half, y0 - half, x1 + half, y1 + half);
}

}  // namespace

PointF Mark::End() const {
    if (points.empty()) return {};
    const PointF end = points.back();
    if (!constrained) return end;
    if (kind == kArrow) return MarkGeometry::Snap45(points.front(), end);
    if (kind == kRectangle || kind == kPixelate) return MarkGeometry::SquareCorner(points.front(), end);
    return end;
}

Box Mark::Region() const {
    if (points.empty()) return {};
    const PointF a = points.front(), b = End();
    // Pixel centres: the pixels under both corners are inside.
    return {static_cast<int>(std::min(a.x, b.x)), static_cast<int>(std::min(a.y, b.y)),
            static_cast<int>(std::max(a.x, b.x)) + 1, static_cast<int>(std::max(a.y, b.y)) + 1};
}

Box Mark::Bounds() const {
    if (points.empty()) return {};
    switch (kind) {
    case kPen:
    case kHighlighter:
        return PathBounds(points.data(), points.size(), StrokeWidth(*this));
    case kArrow: {
        const PointF ends[2] = {points.front(), End()};
        // The head reaches sideways half its length beyond the line.
        return PathBounds(ends, 2, std::max<double>(width, MarkGeometry::HeadLength(width)));
    }
    case kRectangle: {
        const PointF corners[2] = {points.front(), End()};
        return PathBounds(corners, 2, width);
    }
    case kPixelate:
        return Region();
    default:
        return {};
    }
}

Box Mark::NewestBounds() const {
    if ((kind == kPen || kind == kHighlighter) && points.size() >= 2)
        return PathBounds(points.data() + points.size() - 2, 2, StrokeWidth(*this));
    return Bounds();
}

bool Mark::Draws() const {
    if (points.empty()) return false;
    const PointF a = points.front(), b = End();
    switch (kind) {
    case kPen:
    case kHighlighter:
        return true;
    case kArrow:
        return a.x != b.x || a.y != b.y;
    case kRectangle:
    case kPixelate:
        return a.x != b.x && a.y != b.y;
    default:
        return false;
    }
}

void Mark::Render(const PixelArea& target) const {
    if (!Draws()) return;
    if (kind == kPixelate) {
        Pixelate::Apply(target, Region(), seed);
        return;
    }
    CoverageMask mask(MarkGeometry::Intersect(target.area, Bounds()));
    if (mask.Area().Empty()) return;
    switch (kind) {
    case kPen:
    case kHighlighter:
        mask.AddPolyline(points.data(), points.size(), StrokeWidth(*this));
        break;
    case kArrow: {
        const MarkGeometry::Arrow arrow = MarkGeometry::ArrowShape(points.front(), End(), width);
        const PointF shaft[2] = {arrow.shaftStart, arrow.shaftEnd};
        mask.AddPolyline(shaft, 2, width);
        const PointF head[3] = {arrow.tip, arrow.left, arrow.right};
        mask.AddConvexPolygon(head, 3);
        break;
    }
    case kRectangle:
        mask.AddRectangleOutline(points.front(), End(), width);
        break;
    default:
        return;
    }
    if (kind == kHighlighter) PixelBlend::Multiply(target, mask, colour);
    else PixelBlend::Paint(target, mask, colour);
}
