#include "editor/annotate/coverage_mask.h"

#include <algorithm>
#include <cmath>

using MarkGeometry::Box;
using MarkGeometry::PointF;

namespace {

double DistanceToSegment(double px, double py, PointF a, PointF b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = px - (a.x + t * dx), ey = py - (a.y + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

// Length of [a0, a1) inside [b0, b1).
double Overlap(double a0, double a1, double b0, double b1) {
    return std::max(0.0, std::min(a1, b1) - std::max(a0, b0));
}

}  // namespace

CoverageMask::CoverageMask(Box area) : area(area.Empty() ? Box{} : area) {
    alpha.assign(static_cast<size_t>(this->area.Width()) * static_cast<size_t>(this->area.Height()), 0);
}

uint8_t CoverageMask::At(int x, int y) const {
    if (x < area.left || x >= area.right || y < area.top || y >= area.bottom) return 0;
    return alpha[static_cast<size_t>(y - area.top) * static_cast<size_t>(area.Width()) +
                 static_cast<size_t>(x - area.left)];
}

void CoverageMask::Keep(int x, int y, double coverage) {
    if (coverage <= 0) return;
    const int value = static_cast<int>(std::lround(std::min(coverage, 1.0) * 255));
    uint8_t& cell = alpha[static_cast<size_t>(y - area.top) * static_cast<size_t>(area.Width()) +
                          static_cast<size_t>(x - area.left)];
    if (value > cell) cell = static_cast<uint8_t>(value);
}

void CoverageMask::AddPolyline(const PointF* points, size_t count, double width) {
    if (count == 0 || area.Empty()) return;
    const double half = width / 2;
    // Segment by segment over its own bounds only: a long stroke costs what its pixels cost.
    const size_t segments = count > 1 ? count - 1 : 1;
    for (size_t i = 0; i < segments; ++i) {
        const PointF a = points[i];
        const PointF b = points[count > 1 ? i + 1 : i];
        Box box = MarkGeometry::Intersect(
            MarkGeometry::Around(std::min(a.x, b.x) - half, std::min(a.y, b.y) - half,
                                 std::max(a.x, b.x) + half, std::max(a.y, b.y) + half),
            area);
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                Keep(x, y, half + 0.5 - DistanceToSegment(x + 0.5, y + 0.5, a, b));
    }
}

void CoverageMask::AddConvexPolygon(const PointF* points, size_t count) {
    if (count < 3 || area.Empty()) return;
    double twiceArea = 0;
    double x0 = points[0].x, y0 = points[0].y, x1 = x0, y1 = y0;
    for (size_t i = 0; i < count; ++i) {
        const PointF& p = points[i];
        const PointF& q = points[(i + 1) % count];
        twiceArea += p.x * q.y - q.x * p.y;
        x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x), y1 = std::max(y1, p.y);
    }
    if (twiceArea == 0) return;
    const double orientation = twiceArea > 0 ? 1 : -1;
    Box box = MarkGeometry::Intersect(MarkGeometry::Around(x0, y0, x1, y1), area);
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            // Signed distance to the nearest edge, positive inside: half a pixel each way fades.
            double inside = 1e9;
            for (size_t i = 0; i < count; ++i) {
                const PointF& p = points[i];
                const PointF& q = points[(i + 1) % count];
                const double ex = q.x - p.x, ey = q.y - p.y;
                const double length = std::sqrt(ex * ex + ey * ey);
                if (length == 0) continue;
                const double d = orientation * (ex * (y + 0.5 - p.y) - ey * (x + 0.5 - p.x)) / length;
                inside = std::min(inside, d);
            }
            Keep(x, y, inside + 0.5);
        }
    }
}

void CoverageMask::AddRectangleOutline(PointF a, PointF b, double width) {
    if (area.Empty()) return;
    const double half = width / 2;
    const double left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const double top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    const double outerL = left - half, outerR = right + half, outerT = top - half, outerB = bottom + half;
    const double innerL = left + half, innerR = right - half, innerT = top + half, innerB = bottom - half;
    Box box = MarkGeometry::Intersect(MarkGeometry::Around(outerL, outerT, outerR, outerB), area);
    for (int y = box.top; y < box.bottom; ++y) {
        const double outerY = Overlap(y, y + 1, outerT, outerB);
        const double innerY = innerB > innerT ? Overlap(y, y + 1, innerT, innerB) : 0;
        for (int x = box.left; x < box.right; ++x) {
            const double outerX = Overlap(x, x + 1, outerL, outerR);
            const double innerX = innerR > innerL ? Overlap(x, x + 1, innerL, innerR) : 0;
            // Exact area of the pixel inside the band: the outer box less the hole.
            Keep(x, y, outerX * outerY - innerX * innerY);
        }
    }
}
