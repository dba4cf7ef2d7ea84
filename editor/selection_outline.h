#pragma once
// The selection's frame on screen: nine animated dashed rectangles, one for the frame and one for
// each of the eight handles. Drawn straight onto the window; every draw moves the dashes on.
#include <windows.h>

#include "editor/dash_pattern.h"
#include "editor/outline_geometry.h"
#include "framework/gdi.h"

// One animated dashed rectangle outline, black and white.
class DashedRect {
public:
    DashedRect();
    DashPattern pattern;
    CPen pens[2];  // pen 0 black, pen 1 white, both solid and one pixel wide

    // Draws the outline of (a, b, c, d) with the plain copy mix, only where it meets `clip`,
    // then advances the animation one step.
    void Draw(HDC dc, OutlineGeometry::Rect r, DashPattern::Clip clip);
};

class SelectionOutline {
public:
    DashedRect frame;
    DashedRect handles[8];

    // The frame on `r` = (a, b, c, d), then the eight handles around it.
    void Draw(HDC dc, OutlineGeometry::Rect r, DashPattern::Clip clip);
    int HitTest(OutlineGeometry::Rect r, POINT pt) const { return OutlineGeometry::HitTest(r, pt.x, pt.y); }
};
