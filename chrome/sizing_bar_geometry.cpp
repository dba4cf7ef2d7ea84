#include "chrome/sizing_bar_geometry.h"

#include <algorithm>

namespace sizing {

unsigned EdgeBit(int hitCode) {
    switch (hitCode) {
    case kHitLeft: return kEdgeLeft;
    case kHitRight: return kEdgeRight;
    case kHitTop: return kEdgeTop;
    case kHitBottom: return kEdgeBottom;
    default: return 0;
    }
}

unsigned RowEdges(unsigned side, bool firstInRow, bool lastInRow) {
    bool horizontal = dock::IsHorizontal(side);
    unsigned edges = 0;
    if (!firstInRow) edges |= horizontal ? kEdgeLeft : kEdgeTop;
    if (!lastInRow) edges |= horizontal ? kEdgeRight : kEdgeBottom;
    return edges;
}

ClientArea ComputeClientArea(geo::Rect rect, unsigned side, unsigned flags, int edgeThickness) {
    rect.Deflate(3, 5, 3, 3);
    if (dock::IsDocked(side)) rect.Deflate(2, 0, 2, 2);
    if (side == dock::kTop) flags |= kEdgeBottom;
    else if (side == dock::kLeft) flags |= kEdgeRight;
    else if (side == dock::kRight) flags |= kEdgeLeft;
    else if (side == dock::kBottom) flags |= kEdgeTop;
    if (flags & kShowEdges) {
        int t = edgeThickness;
        rect.Deflate(flags & kEdgeLeft ? t : 0, flags & kEdgeTop ? t : 0, flags & kEdgeRight ? t : 0,
                     flags & kEdgeBottom ? t : 0);
    }
    return {rect, flags};
}

GripArea CoolBarClientArea(geo::Rect client, unsigned side, int gripWidth) {
    GripArea out{client, false, {}};
    if (dock::IsHorizontal(side)) {
        out.client.left += gripWidth;
        out.hasGrip = true;
        out.button = {out.client.left - 14, out.client.top};
    } else if (dock::IsVertical(side)) {
        out.client.top += gripWidth;
        out.hasGrip = true;
        out.button = {out.client.right - 12, out.client.top - 14};
    }
    return out;
}

geo::Rect EdgeRect(geo::Rect window, int edge, unsigned flags, unsigned side, int thickness) {
    unsigned bit = EdgeBit(edge);
    if (!bit || !(flags & bit)) return {};
    if (flags & kShowEdges) window.Deflate(1, 1, 1, 1);
    geo::Rect r = window;
    bool horizontal = dock::IsHorizontal(side);
    bool vertical = dock::IsVertical(side);
    switch (edge) {
    case kHitLeft:
        r.right = r.left + thickness;
        if (horizontal) r.Deflate(0, thickness, 0, thickness);
        break;
    case kHitRight:
        r.left = r.right - thickness;
        if (horizontal) r.Deflate(0, thickness, 0, thickness);
        break;
    case kHitTop:
        r.bottom = r.top + thickness;
        if (vertical) r.Deflate(thickness, 0, thickness, 0);
        break;
    default:  // bottom
        r.top = r.bottom - thickness;
        if (vertical) r.Deflate(thickness, 0, thickness, 0);
        break;
    }
    return r;
}

int HitTestEdges(geo::Rect window, geo::Point point, unsigned flags, unsigned side, int thickness) {
    if (!dock::IsDocked(side)) return kHitClient;
    for (int edge : {kHitLeft, kHitTop, kHitRight, kHitBottom})
        if (EdgeRect(window, edge, flags, side, thickness).Contains(point)) return edge;
    return kHitClient;
}

bool OnCloseButton(geo::Point windowPoint, geo::Point buttonOrigin) {
    return geo::Rect::At(buttonOrigin, {kCloseButtonSize, kCloseButtonSize}).Contains(windowPoint);
}

Gripper GripperBars(geo::Rect client, unsigned side, geo::Point button) {
    client.Deflate(1, 1, 1, 1);
    Gripper g;
    if (dock::IsHorizontal(side)) {
        int left = client.left - kGripWidth;
        g.first = {left, button.y + 16, left + 3, client.bottom};
        g.second = g.first;
        g.second.Offset(3, 0);
    } else {
        int top = client.top - kGripWidth;
        g.first = {client.left, top, button.x - 3, top + 3};
        g.second = g.first;
        g.second.Offset(0, 3);
    }
    return g;
}

geo::Rect TrackerRect(geo::Rect edgeRect, bool alongX, bool acrossRow, geo::Rect dockBar, int position,
                      int grabOffset) {
    geo::Rect r = edgeRect;
    if (acrossRow) {
        // The line runs the whole length of the dock bar, across the drag axis.
        if (alongX) {
            r.top = dockBar.top + 1;
            r.bottom = dockBar.bottom - 1;
        } else {
            r.left = dockBar.left + 1;
            r.right = dockBar.right - 1;
        }
    }
    int centre = position - grabOffset;
    if (alongX) r.Offset(centre - (r.left + r.right) / 2, 0);
    else r.Offset(0, centre - (r.top + r.bottom) / 2);
    return r;
}

bool IsCorner(int hitCode) {
    return hitCode == kHitTopLeft || hitCode == kHitTopRight || hitCode == kHitBottomLeft ||
           hitCode == kHitBottomRight;
}

CornerSizing SizeByCorner(int hitCode, geo::Point p, geo::Rect f, geo::Rect b, geo::Size floatingSize,
                          geo::Size minFloating) {
    CornerSizing out{floatingSize};
    int w = b.Width(), h = b.Height();
    bool left = hitCode == kHitTopLeft || hitCode == kHitBottomLeft;
    bool top = hitCode == kHitTopLeft || hitCode == kHitTopRight;
    if (left) {
        out.floatingSize.cx = w + f.left - p.x;
        out.movesLeft = true;
        out.left = std::min(p.x, f.left + w - minFloating.cx);
    } else {
        out.floatingSize.cx = w + p.x - f.right;
    }
    if (top) {
        out.floatingSize.cy = h + f.top - p.y;
        out.movesTop = true;
        out.top = std::min(p.y, f.top + h - minFloating.cy);
    } else {
        out.floatingSize.cy = h + p.y - f.bottom;
    }
    out.floatingSize.cx = std::max(out.floatingSize.cx, minFloating.cx);
    out.floatingSize.cy = std::max(out.floatingSize.cy, minFloating.cy);
    return out;
}

}  // namespace sizing
