#pragma once
// The text label drawn with GDI: an antialiased font whose size follows the line width, the lines
// of the label from its top-left pixel, and the caret while it is typed.
#include <windows.h>

#include "editor/annotate/mark_geometry.h"
#include "editor/annotate/text_label.h"

namespace LabelPainter {

// The font's pixel height for a line width (2, 4, 8 give 18, 26, 42).
int FontHeight(int width);

// The image pixels the label (caret included) covers when its top-left is `origin`.
MarkGeometry::Box Bounds(const TextLabel& label, POINT origin, int width);

// Draws the label on `dc`, whose pixel (0, 0) is image pixel (`offset`.x, `offset`.y).
void Draw(HDC dc, POINT offset, const TextLabel& label, POINT origin, int width, COLORREF colour, bool caret);

}  // namespace LabelPainter
