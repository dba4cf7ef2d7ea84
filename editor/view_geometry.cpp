#include "editor/view_geometry.h"

#include <cstdint>

namespace ViewGeometry {

namespace {

// The window offset of the image's first pixel along one axis: half the margin when the drawn
// image is narrower than the client area, else minus the scroll position.
int Origin(int client, int total, int scroll) {
    return client > total ? (client - total) / 2 : -scroll;
}

int ImageAxisToClient(int value, int client, int total, int scroll, int zoom) {
    return static_cast<int>(static_cast<int64_t>(value) * zoom / 100) + Origin(client, total, scroll);
}

int ClientAxisToImage(int value, int client, int total, int scroll, int zoom) {
    if (zoom <= 0) zoom = 100;  // never a level; keeps a damaged state from dividing by zero
    int64_t offset = static_cast<int64_t>(value) - Origin(client, total, scroll);
    // Exact integer division truncates toward zero, as the division by zoom / 100 is meant to;
    // a floating zoom factor such as 70 x 0.01 is not exact and would lose a pixel at the edges.
    return static_cast<int>(offset * 100 / zoom);
}

}  // namespace

Point ImageToClient(const Layout& l, Point image) {
    return {ImageAxisToClient(image.x, l.clientWidth, l.totalWidth, l.scrollX, l.zoom),
            ImageAxisToClient(image.y, l.clientHeight, l.totalHeight, l.scrollY, l.zoom)};
}

Point ClientToImage(const Layout& l, Point client) {
    return {ClientAxisToImage(client.x, l.clientWidth, l.totalWidth, l.scrollX, l.zoom),
            ClientAxisToImage(client.y, l.clientHeight, l.totalHeight, l.scrollY, l.zoom)};
}

Span CopyAxis(int client, int source, int scroll) {
    if (source < client) return {(client - source) / 2, source, 0, source};
    // A scroll position past the range (the total size not yet following the bitmap) never reads
    // beyond the bitmap: the rest of the window shows the background.
    int length = client;
    if (scroll > source - client) length = scroll < source ? source - scroll : 0;
    return {0, length, scroll, length};
}

Span StretchAxis(int client, int image, int total, int scroll, int zoom) {
    int k = zoom >= 200 ? zoom / 100 : 1;
    if (total < client) return {(client - total) / 2, total, 0, image};
    int shift = -(scroll % k);  // zero or negative
    Span s;
    s.destination = shift;
    s.source = (scroll + shift) / k;
    s.sourceLength = (client - shift + k - 1) / k;
    if (s.sourceLength > image - s.source) s.sourceLength = image > s.source ? image - s.source : 0;
    s.destinationLength = s.sourceLength * k;
    return s;
}

PaintRects Paint(const Layout& l, int sourceWidth, int sourceHeight) {
    PaintRects r;
    if (l.zoom > 100) {
        r.stretch = true;
        r.x = StretchAxis(l.clientWidth, sourceWidth, l.totalWidth, l.scrollX, l.zoom);
        r.y = StretchAxis(l.clientHeight, sourceHeight, l.totalHeight, l.scrollY, l.zoom);
    } else {
        r.x = CopyAxis(l.clientWidth, sourceWidth, l.scrollX);
        r.y = CopyAxis(l.clientHeight, sourceHeight, l.scrollY);
    }
    return r;
}

}  // namespace ViewGeometry
