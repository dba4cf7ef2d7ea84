#include "framework/dock_layout.h"

#include <algorithm>

#include "framework/dock_sides.h"

namespace dock {

namespace {

int Along(geo::Size s, bool horizontal) { return horizontal ? s.cx : s.cy; }
int Across(geo::Size s, bool horizontal) { return horizontal ? s.cy : s.cx; }

geo::Rect Place(int along, int across, geo::Size size, bool horizontal) {
    return horizontal ? geo::Rect{along, across, along + size.cx, across + size.cy}
                      : geo::Rect{across, along, across + size.cx, along + size.cy};
}

}  // namespace

RowsLayout LayoutRows(const std::vector<std::vector<LayoutBar>>& rows, bool horizontal, int rowEnd) {
    RowsLayout out;
    int across = 0;
    for (const auto& row : rows) {
        int next = -kBarOverlap;  // the earliest leading edge the next bar may take
        int rowThickness = 0;
        for (const LayoutBar& bar : row) {
            int length = Along(bar.size, horizontal);
            int wanted = bar.placed ? bar.position : next;
            int along = std::max(next, std::min(wanted, rowEnd - length));
            out.places.push_back(Place(along, across, bar.size, horizontal));
            next = along + length - kBarOverlap;
            rowThickness = std::max(rowThickness, Across(bar.size, horizontal));
        }
        across += rowThickness;
    }
    out.thickness = across;
    return out;
}

Insertion FindInsertion(const std::vector<std::vector<geo::Rect>>& rows, bool horizontal, geo::Point point) {
    int across = horizontal ? point.y : point.x;
    int along = horizontal ? point.x : point.y;
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].empty()) continue;
        int start = horizontal ? rows[r][0].top : rows[r][0].left;
        int end = start;
        for (const geo::Rect& place : rows[r])
            end = std::max(end, horizontal ? place.bottom : place.right);
        if (across < start) return {r, 0, true};
        if (across >= end) continue;
        size_t position = 0;
        for (const geo::Rect& place : rows[r]) {
            int centre = horizontal ? (place.left + place.right) / 2 : (place.top + place.bottom) / 2;
            if (along <= centre) break;
            ++position;
        }
        return {r, position, false};
    }
    return {rows.size(), 0, true};
}

geo::Rect TakeBand(geo::Rect& area, unsigned side, int thickness) {
    geo::Rect band = area;
    int room = IsHorizontal(side) ? area.Height() : area.Width();
    thickness = std::clamp(thickness, 0, std::max(room, 0));
    if (side == kTop) {
        band.bottom = area.top + thickness;
        area.top = band.bottom;
    } else if (side == kBottom) {
        band.top = area.bottom - thickness;
        area.bottom = band.top;
    } else if (side == kLeft) {
        band.right = area.left + thickness;
        area.left = band.right;
    } else {
        band.left = area.right - thickness;
        area.right = band.left;
    }
    return band;
}

geo::Rect DockAreaOf(const geo::Rect& dockBar, unsigned side, int reach) {
    geo::Rect area = dockBar;
    if (side == kTop) area.bottom += reach;
    else if (side == kBottom) area.top -= reach;
    else if (side == kLeft) area.right += reach;
    else area.left -= reach;
    return area;
}

unsigned PickDockArea(const std::vector<DockArea>& areas, geo::Point cursor) {
    for (const DockArea& area : areas)
        if (area.rect.Contains(cursor)) return area.side;
    return 0;
}

geo::Rect PlaceDragShape(geo::Size size, geo::Point cursor, geo::Point grabOffset) {
    int dx = std::clamp(grabOffset.x, 0, std::max(size.cx - 1, 0));
    int dy = std::clamp(grabOffset.y, 0, std::max(size.cy - 1, 0));
    return geo::Rect::At({cursor.x - dx, cursor.y - dy}, size);
}

}  // namespace dock
