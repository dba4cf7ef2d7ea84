#pragma once
// Where the image lies in the view: the mapping between window (client) points and image pixels,
// and the source and destination rectangles of one paint. Lengths are window pixels unless named
// otherwise; the scroll total size is the size of the image as drawn.

namespace ViewGeometry {

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

// The view's state along both axes.
struct Layout {
    int clientWidth = 0, clientHeight = 0;
    int totalWidth = 0, totalHeight = 0;  // scroll total size
    int scrollX = 0, scrollY = 0;         // scroll position
    int zoom = 100;                       // percent
};

// Image pixel -> client point: x * zoom / 100 (truncated), then centred or scrolled.
Point ImageToClient(const Layout& layout, Point image);
// Client point -> image pixel, truncated toward zero and not clamped: a point in the margin left of
// or above the image gives a negative value (0 when less than one zoomed pixel away).
Point ClientToImage(const Layout& layout, Point client);

// One axis of a paint: the destination span in the window and the source span in the bitmap drawn.
struct Span {
    int destination = 0, destinationLength = 0;
    int source = 0, sourceLength = 0;
    bool operator==(const Span& o) const {
        return destination == o.destination && destinationLength == o.destinationLength &&
               source == o.source && sourceLength == o.sourceLength;
    }
};

// At 100 % and below: `sourceLength` is the length of the bitmap drawn (the image, or its reduced
// copy); narrower than the client it is centred, otherwise the visible part from the scroll
// position is copied one to one. Neither axis function reads past the bitmap, whatever the scroll
// position.
Span CopyAxis(int clientLength, int sourceLength, int scroll);
// Above 100 %, factor k = zoom / 100: whole source pixels only, each covering k window pixels; the
// partly visible first pixel starts left of (above) the window.
Span StretchAxis(int clientLength, int imageLength, int totalLength, int scroll, int zoom);

struct PaintRects {
    Span x, y;
    bool stretch = false;  // StretchBlt (above 100 %) rather than BitBlt
};
// Both axes of a paint of a source bitmap sourceWidth x sourceHeight (the reduced copy below
// 100 %, else the image).
PaintRects Paint(const Layout& layout, int sourceWidth, int sourceHeight);

}  // namespace ViewGeometry
