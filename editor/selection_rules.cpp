#include "editor/selection_rules.h"

#include <algorithm>

namespace SelectionRules {

Selection StartAt(Point p, Point& anchor) {
    anchor = p;
    return {p.x, p.y, p.x, p.y};
}

void Drag(Selection& s, int kind, Point p, Point& anchor) {
    // Which edges a handle moves: left or right, top or bottom (or neither).
    bool left = kind == kTopLeft || kind == kLeft || kind == kBottomLeft;
    bool right = kind == kTopRight || kind == kRight || kind == kBottomRight;
    bool top = kind == kTopLeft || kind == kTop || kind == kTopRight;
    bool bottom = kind == kBottomLeft || kind == kBottom || kind == kBottomRight;
    if (left) s.left = std::min(p.x, s.right);
    if (right) s.right = std::max(p.x, s.left);
    if (top) s.top = std::min(p.y, s.bottom);
    if (bottom) s.bottom = std::max(p.y, s.top);
    if (kind == kMove) {
        int dx = p.x - anchor.x, dy = p.y - anchor.y;
        s.left += dx;
        s.right += dx;
        s.top += dy;
        s.bottom += dy;
        anchor = p;
    } else if (kind == kNewRectangle) {
        s.left = std::min(p.x, anchor.x);
        s.right = std::max(p.x, anchor.x);
        s.top = std::min(p.y, anchor.y);
        s.bottom = std::max(p.y, anchor.y);
    }
}

}  // namespace SelectionRules
