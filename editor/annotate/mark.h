#pragma once
// One mark being drawn: which tool, its colour and width, and the image points the mouse gave.
// Everything but the text label is drawn here, onto 32-bit pixels.
#include <cstdint>
#include <vector>

#include "editor/annotate/mark_geometry.h"
#include "editor/annotate/pixel_blend.h"

struct Mark {
    // In the order of the tools' commands.
    enum Kind { kPen = 0, kArrow, kRectangle, kHighlighter, kText, kPixelate, kKinds };

    Kind kind = kPen;
    uint32_t colour = 0;  // COLORREF
    int width = 4;        // image pixels
    bool constrained = false;  // Shift: 45-degree arrow, square rectangle
    uint32_t seed = 1;         // the pixelate noise
    std::vector<MarkGeometry::PointF> points;  // the freehand path; else start and end

    // The marker is wider than the ink tools, so that a line of text fits under it.
    static constexpr int kHighlighterFactor = 3;

    // The end point after Shift's rule.
    MarkGeometry::PointF End() const;
    // The pixels the mark can change (unclipped); empty with no points.
    MarkGeometry::Box Bounds() const;
    // The pixels the newest point changes: a freehand path's last segment, else Bounds().
    MarkGeometry::Box NewestBounds() const;
    // The rectangle of pixels a pixelate mark replaces (corners inclusive).
    MarkGeometry::Box Region() const;
    // True when a release now leaves something drawn (a pixelate area or a rectangle of no size,
    // an arrow of no length do not).
    bool Draws() const;

    // Draws the mark onto `target` (which holds the unmarked pixels of its area). Text: nothing.
    void Render(const PixelArea& target) const;
};
