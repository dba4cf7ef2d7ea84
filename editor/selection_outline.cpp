#include "editor/selection_outline.h"

DashedRect::DashedRect() {
    pens[DashPattern::kBlack].CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    pens[DashPattern::kWhite].CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
}

void DashedRect::Draw(HDC dc, OutlineGeometry::Rect r, DashPattern::Clip clip) {
    int oldMix = ::SetROP2(dc, R2_COPYPEN);
    HGDIOBJ oldPen = ::GetCurrentObject(dc, OBJ_PEN);
    int selected = -1;
    for (const DashPattern::Piece& p : pattern.Walk(r.left, r.top, r.right, r.bottom, clip)) {
        if (p.pen != selected) {
            ::SelectObject(dc, pens[p.pen].GetSafeHandle());
            selected = p.pen;
        }
        ::MoveToEx(dc, p.x0, p.y0, nullptr);
        ::LineTo(dc, p.x1, p.y1);
    }
    ::SelectObject(dc, oldPen);
    ::SetROP2(dc, oldMix);
    pattern.Advance();
}

void SelectionOutline::Draw(HDC dc, OutlineGeometry::Rect r, DashPattern::Clip clip) {
    frame.Draw(dc, r, clip);
    std::array<OutlineGeometry::Rect, 8> places = OutlineGeometry::Handles(r);
    for (int i = 0; i < 8; ++i) handles[i].Draw(dc, places[i], clip);
}
