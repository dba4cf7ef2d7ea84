#include "editor/dash_pattern.h"

void DashPattern::Walker::Edge(std::vector<Piece>& out, int x, int y, int dx, int dy, int length) {
    int done = 0;
    while (done < length) {
        int run = remaining < length - done ? remaining : length - done;
        Piece piece{x + dx * done, y + dy * done, x + dx * (done + run), y + dy * (done + run), pen};
        // The pixels of a piece run from its start up to (not including) its end.
        int lastX = dx ? piece.x1 - 1 : piece.x0, lastY = dy ? piece.y1 - 1 : piece.y0;
        if (lastX >= clip.left && piece.x0 < clip.right && lastY >= clip.top && piece.y0 < clip.bottom)
            out.push_back(piece);
        done += run;
        remaining -= run;
        if (remaining == 0) {
            pen = 1 - pen;
            remaining = pattern.dashLength[pen];
        }
    }
}

std::vector<DashPattern::Piece> DashPattern::Walk(int a, int b, int c, int d, Clip clip) const {
    std::vector<Piece> pieces;
    int width = c > a ? c - a : 0, height = d > b ? d - b : 0;
    Walker first{*this, clip, startPen, phase};
    first.Edge(pieces, a, b, 1, 0, width);   // top edge, left to right
    first.Edge(pieces, c, b, 0, 1, height);  // right edge, downwards
    Walker second{*this, clip, startPen, phase};
    second.Edge(pieces, a, b, 0, 1, height);  // left edge, downwards
    second.Edge(pieces, a, d, 1, 0, width);   // bottom edge, left to right
    return pieces;
}

void DashPattern::Advance() {
    phase += 2;
    if (phase > dashLength[startPen]) {
        phase = 1;
        startPen = 1 - startPen;
    }
}
