#pragma once
// Drawing the bars share: raised and sunken 3-D frames, and the inverted halftone rectangles that
// show where a dragged bar or edge would go (drawing one twice at the same place erases it).
#include <windows.h>

// The 1-pixel frame of `r`: `topLeft` on the top and left sides, `bottomRight` on the others.
void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight);
// The 50 % grey checker brush the trackers are inverted with (shared; never deleted).
HBRUSH HalftoneBrush();
// Inverts `r` with the halftone brush.
void InvertHalftoneRect(HDC dc, const RECT& r);
// Inverts the `thickness`-wide border of `r` with the halftone brush.
void InvertHalftoneFrame(HDC dc, const RECT& r, int thickness);

// A context for drawing over everything on the screen while a bar is dragged.
class CScreenTrackerDC {
public:
    CScreenTrackerDC();
    ~CScreenTrackerDC();
    CScreenTrackerDC(const CScreenTrackerDC&) = delete;
    CScreenTrackerDC& operator=(const CScreenTrackerDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_desktop;
    HDC m_dc;
    bool m_locked;
};
