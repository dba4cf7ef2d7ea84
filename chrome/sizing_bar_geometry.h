#pragma once
// The sizing bar's frame, without windows: which edges are active, where the client area lies,
// the edge rectangles it is sized by, hit tests, the gripper and close button of the cool bar, the
// tracker line, and the sizes a floating bar takes when its mini frame is resized.
#include "framework/dock_sides.h"
#include "framework/geometry.h"

namespace sizing {

// barFlags bits.
constexpr unsigned kEdgeLeft = 0x1;
constexpr unsigned kEdgeRight = 0x2;
constexpr unsigned kEdgeTop = 0x4;
constexpr unsigned kEdgeBottom = 0x8;
constexpr unsigned kEdgeBits = 0xF;
constexpr unsigned kShowEdges = 0x10;  // reserve room for the edges and draw them
constexpr unsigned kSizeChild = 0x20;  // the first child window fills the client area

// Hit-test codes (the system's values).
constexpr int kHitClient = 1;
constexpr int kHitLeft = 10;
constexpr int kHitRight = 11;
constexpr int kHitTop = 12;
constexpr int kHitTopLeft = 13;
constexpr int kHitTopRight = 14;
constexpr int kHitBottom = 15;
constexpr int kHitBottomLeft = 16;
constexpr int kHitBottomRight = 17;
constexpr int kHitClose = 20;

constexpr int kEdgeThickness = 5;
constexpr int kGripWidth = 12;
constexpr int kCloseButtonSize = 13;

// The edge bit of a hit-test code of an edge, 0 for any other code.
unsigned EdgeBit(int hitCode);

// The edges a docked bar may be sized by from its place in the row: not the first of the row's
// sizing bars, its leading edge (left, or top when vertical); not the last, its trailing edge.
unsigned RowEdges(unsigned side, bool firstInRow, bool lastInRow);

// The client area inside the bar's window rectangle `rect`, and `flags` with the edge facing the
// frame's centre activated (top dock: bottom edge; left: right; right: left; bottom: top).
struct ClientArea {
    geo::Rect client;
    unsigned flags = 0;
};
ClientArea ComputeClientArea(geo::Rect rect, unsigned side, unsigned flags, int edgeThickness = kEdgeThickness);

// The cool bar's gripper takes `gripWidth` of the client area while docked; the close button
// sits in the strip left free. `client` and the button are in the same coordinates.
struct GripArea {
    geo::Rect client;
    bool hasGrip = false;
    geo::Point button;
};
GripArea CoolBarClientArea(geo::Rect client, unsigned side, int gripWidth = kGripWidth);

// The rectangle of one edge (a hit-test code) of the window rectangle; empty when inactive.
geo::Rect EdgeRect(geo::Rect window, int edge, unsigned flags, unsigned side, int thickness = kEdgeThickness);
// A docked bar's edge under `point` (left, top, right, bottom in that order), else kHitClient.
int HitTestEdges(geo::Rect window, geo::Point point, unsigned flags, unsigned side,
                 int thickness = kEdgeThickness);
bool OnCloseButton(geo::Point windowPoint, geo::Point buttonOrigin);

// The gripper's two raised bars for a client rectangle and button origin in window coordinates.
struct Gripper {
    geo::Rect first;
    geo::Rect second;
};
Gripper GripperBars(geo::Rect client, unsigned side, geo::Point button);

// The tracker of a drag that is not shown live: the edge rectangle, stretched over the dock bar
// (less a pixel at each end) when the drag changes the row's thickness, moved along the drag
// axis so that its centre lies at `position` - `grabOffset`.
geo::Rect TrackerRect(geo::Rect edgeRect, bool alongX, bool acrossRow, geo::Rect dockBar, int position,
                      int grabOffset);

// A floating bar sized by a corner of its mini frame: the new floating size from the cursor P,
// the mini frame's window rectangle F and the bar's window rectangle B, and (for a left or top
// corner) where the frame's drag rectangle starts.
struct CornerSizing {
    geo::Size floatingSize;
    bool movesLeft = false;
    int left = 0;
    bool movesTop = false;
    int top = 0;
};
CornerSizing SizeByCorner(int hitCode, geo::Point cursor, geo::Rect miniFrame, geo::Rect bar,
                          geo::Size floatingSize, geo::Size minFloating);
bool IsCorner(int hitCode);

}  // namespace sizing
