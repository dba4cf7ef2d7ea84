#pragma once
// Dragging a docked sizing bar's edge, without windows: the limits fixed when the drag starts and
// the sizes every further mouse position gives. Works on the row's visible sizing bars.
#include "chrome/row_negotiation.h"

namespace sizing {

// Whether an edge (hit-test code) of a bar docked horizontally or not moves along the row (the
// splitter between two bars) rather than across it (the row's thickness).
bool DragsAlongRow(int edge, bool horizontal);

struct DragLimits {
    int min = 0;
    int max = 0;
};

// Along the row: the bars before the splitter can give up their length above their minimum
// towards dragMin, those from the splitter on towards dragMax.
DragLimits AlongRowLimits(const std::vector<RowBar>& row, int self, int edge, int position);
// Across the row: it shrinks down to the largest minimum thickness among its bars and grows by
// the free client area less 2 pixels.
DragLimits AcrossRowLimits(const std::vector<RowBar>& row, int self, int edge, int position, int freeExtent);

// Applies a move of `delta` pixels along the row: the bar on the growing side of the splitter
// grows by |delta|, the bars on the other side give it up, nearest first, down to their minimum.
void MoveSplitter(std::vector<RowBar>& row, int self, int edge, int delta);
// Applies a move of `delta` across the row: every bar of the row gets this bar's new thickness.
void ChangeRowThickness(std::vector<RowBar>& row, int self, int edge, int delta);

}  // namespace sizing
