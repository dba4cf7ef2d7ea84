#pragma once
// Antialiased coverage of the drawing tools' shapes over an area of image pixels: for each pixel,
// how much of it the shape covers (0..255). Shapes added to one mask join without their overlap
// counting twice, so a translucent stroke crossing itself does not darken there.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/annotate/mark_geometry.h"

class CoverageMask {
public:
    explicit CoverageMask(MarkGeometry::Box area);

    const MarkGeometry::Box& Area() const { return area; }
    // Coverage of image pixel (x, y); 0 outside the area.
    uint8_t At(int x, int y) const;

    // A line through `points` of `width` with round ends and joins (one point: a dot).
    void AddPolyline(const MarkGeometry::PointF* points, size_t count, double width);
    // A filled convex polygon (either winding).
    void AddConvexPolygon(const MarkGeometry::PointF* points, size_t count);
    // The outline of the axis-aligned rectangle with corners `a` and `b`, a band of `width`
    // centred on its sides, with square corners.
    void AddRectangleOutline(MarkGeometry::PointF a, MarkGeometry::PointF b, double width);

private:
    void Keep(int x, int y, double coverage);

    MarkGeometry::Box area;
    std::vector<uint8_t> alpha;
};
