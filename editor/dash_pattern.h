#pragma once
// The dashes of one animated dashed rectangle outline ("marching ants"): two pens, black dashes of
// 5 pixels and white ones of 3. The outline is drawn as two paths from the top-left corner (a, b):
// along the top edge and down the right edge, and down the left edge and along the bottom edge,
// both from the same starting state. A dash cut by a corner continues on the next edge; a dash that
// ends exactly at a corner lets the next edge begin with the other pen. Each draw then advances the
// phase by 2, so the dashes creep away from the top-left corner.
#include <vector>

class DashPattern {
public:
    static constexpr int kBlack = 0;
    static constexpr int kWhite = 1;

    int phase = 1;     // length still to run of the first dash at the top-left corner
    int startPen = 0;  // pen of that first dash
    int dashLength[2] = {5, 3};

    // One straight piece of a dash: from (x0, y0) toward (x1, y1), the end point not drawn, as a
    // line drawn with MoveTo/LineTo.
    struct Piece {
        int x0, y0, x1, y1;
        int pen;
        bool operator==(const Piece& o) const {
            return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1 && pen == o.pen;
        }
    };

    // Only pieces that touch this area are kept (the walk itself always runs the whole way).
    struct Clip {
        int left, top, right, bottom;  // right and bottom outside
    };
    static constexpr Clip kEverywhere = {-2147483647, -2147483647, 2147483647, 2147483647};

    // The pieces of both paths around (a, b, c, d), first path first, in drawing order.
    std::vector<Piece> Walk(int a, int b, int c, int d, Clip clip = kEverywhere) const;
    // The animation step after each draw.
    void Advance();

private:
    struct Walker {
        const DashPattern& pattern;
        Clip clip;
        int pen;
        int remaining;
        // Appends the pieces of one edge from (x, y) along (dx, dy) for `length` pixels.
        void Edge(std::vector<Piece>& out, int x, int y, int dx, int dy, int length);
    };
};
