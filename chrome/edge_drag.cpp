#include "chrome/edge_drag.h"

#include <algorithm>
#include <cstdlib>

#include "chrome/sizing_bar_geometry.h"

namespace sizing {

namespace {
// Right and bottom edges have the splitter after the bar, left and top ones before it.
bool TrailingEdge(int edge) { return edge == kHitRight || edge == kHitBottom; }
}  // namespace

bool DragsAlongRow(int edge, bool horizontal) {
    return horizontal ? (edge == kHitLeft || edge == kHitRight) : (edge == kHitTop || edge == kHitBottom);
}

DragLimits AlongRowLimits(const std::vector<RowBar>& row, int self, int edge, int position) {
    DragLimits limits{position, position};
    int splitter = TrailingEdge(edge) ? self + 1 : self;
    for (int i = 0; i < static_cast<int>(row.size()); ++i) {
        int spare = row[i].length - row[i].minLength;
        if (i < splitter) limits.min -= spare;
        else limits.max += spare;
    }
    return limits;
}

DragLimits AcrossRowLimits(const std::vector<RowBar>& row, int self, int edge, int position, int freeExtent) {
    DragLimits limits{position, position};
    int minThickness = 0;
    for (const RowBar& bar : row) minThickness = std::max(minThickness, bar.minThickness);
    int shrinkable = row[self].thickness - minThickness;
    int growable = freeExtent - 2;
    if (!TrailingEdge(edge)) {
        limits.min -= growable;
        limits.max += shrinkable;
    } else {
        limits.min -= shrinkable;
        limits.max += growable;
    }
    return limits;
}

void MoveSplitter(std::vector<RowBar>& row, int self, int edge, int delta) {
    if (delta == 0) return;
    int count = static_cast<int>(row.size());
    int splitter = TrailingEdge(edge) ? self + 1 : self;  // first bar after the splitter
    // Moving right or down, the bar before the splitter grows; moving back, the one after it.
    int grower = delta > 0 ? splitter - 1 : splitter;
    if (grower < 0 || grower >= count) return;
    int amount = std::abs(delta);
    row[grower].length += amount;
    int step = delta > 0 ? 1 : -1;  // from the splitter towards the giving side
    int first = delta > 0 ? splitter : splitter - 1;
    for (int i = first; i >= 0 && i < count && amount > 0; i += step) {
        int give = std::min(amount, row[i].length - row[i].minLength);
        if (give <= 0) continue;
        row[i].length -= give;
        amount -= give;
    }
}

void ChangeRowThickness(std::vector<RowBar>& row, int self, int edge, int delta) {
    int thickness = row[self].thickness + (TrailingEdge(edge) ? delta : -delta);
    for (RowBar& bar : row) bar.thickness = thickness;
}

}  // namespace sizing
