#pragma once
// The arithmetic of docking, without windows: how a dock bar places its rows of bars, where a bar
// dropped on it joins, which dock bar a dragged bar lands on, and how the frame hands out its
// client area to the bars around its edges.
#include <cstddef>
#include <vector>

#include "framework/geometry.h"

namespace dock {

// Neighbouring bars in a row overlap by this much (their borders lie on top of each other), and
// a row starts this far before the dock bar's own start.
constexpr int kBarOverlap = 2;

// One bar as the dock bar's layout sees it: its size (x along a horizontal row) and where its
// leading edge sits now, in the dock bar's coordinates along the row.
struct LayoutBar {
    geo::Size size;
    int position = 0;
    bool placed = false;  // false for a bar that has no place in this dock bar yet
};

struct RowsLayout {
    std::vector<geo::Rect> places;  // one per bar, rows one after another, in the dock bar's coordinates
    int thickness = 0;              // across the rows: the dock bar's height (horizontal) or width
};

// Rows stack from 0 across the dock bar. Within a row the first bar starts at -kBarOverlap, each bar
// keeps its current position where that leaves no gap smaller than the overlap with the previous
// bar, and is pulled back when it would reach past `rowEnd`.
RowsLayout LayoutRows(const std::vector<std::vector<LayoutBar>>& rows, bool horizontal, int rowEnd);

// Where a bar dropped at `point` (dock bar coordinates) joins, given the current places of the
// rows' bars: into existing row `row` before its bar number `position`, or (newRow) as a new row
// before row `row` (row == number of rows: after the last one).
struct Insertion {
    std::size_t row = 0;
    std::size_t position = 0;
    bool newRow = true;
    bool operator==(const Insertion&) const = default;
};
Insertion FindInsertion(const std::vector<std::vector<geo::Rect>>& rows, bool horizontal, geo::Point point);

// The frame's layout: a bar on `side` (a dock side id) takes a band of `thickness` from the area
// left over; the band is returned, the area shrinks. Never more than the area holds.
geo::Rect TakeBand(geo::Rect& area, unsigned side, int thickness);

// Dragging a bar: where a dock bar accepts it. A dock bar catches the bar while the cursor is
// over it or within `reach` pixels of it towards the frame's middle; an empty dock bar is a line on
// the frame's edge, so it catches the bar within `reach` pixels of that edge.
struct DockArea {
    unsigned side = 0;
    geo::Rect rect;
};
geo::Rect DockAreaOf(const geo::Rect& dockBar, unsigned side, int reach);
// The first area (in the order given) under the cursor; 0: the bar floats.
unsigned PickDockArea(const std::vector<DockArea>& areas, geo::Point cursor);
// A drag shape of `size` placed under the cursor so that the point grabbed keeps its offset from
// the shape's corner, as far as the shape is large enough to hold it.
geo::Rect PlaceDragShape(geo::Size size, geo::Point cursor, geo::Point grabOffset);

}  // namespace dock
