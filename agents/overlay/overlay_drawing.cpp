#include "agents/overlay/overlay_drawing.h"

#include <algorithm>
#include <cstring>

namespace OverlayDrawing {

namespace {

constexpr COLORREF kBoxBackground = RGB(32, 32, 32);
constexpr COLORREF kBoxText = RGB(255, 255, 255);
constexpr int kTextMarginX = 6, kTextMarginY = 3;

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    if (right <= left || bottom <= top) return;
    RECT r{left, top, right, bottom};
    COLORREF old = ::SetBkColor(dc, colour);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(dc, old);
}

}  // namespace

void FrameInside(HDC dc, const PixelRect& a, int thickness, COLORREF colour) {
    int tx = std::min(thickness, (a.Width() + 1) / 2), ty = std::min(thickness, (a.Height() + 1) / 2);
    Fill(dc, a.left, a.top, a.right, a.top + ty, colour);
    Fill(dc, a.left, a.bottom - ty, a.right, a.bottom, colour);
    Fill(dc, a.left, a.top + ty, a.left + tx, a.bottom - ty, colour);
    Fill(dc, a.right - tx, a.top + ty, a.right, a.bottom - ty, colour);
}

void FrameAround(HDC dc, const PixelRect& a, COLORREF colour) {
    FrameInside(dc, {a.left - 1, a.top - 1, a.right + 1, a.bottom + 1}, 1, colour);
}

SIZE TextBoxSize(HDC dc, const char* text) {
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    ::SelectObject(dc, oldFont);
    return {size.cx + 2 * kTextMarginX, size.cy + 2 * kTextMarginY};
}

void TextBox(HDC dc, const PixelRect& box, const char* text) {
    Fill(dc, box.left, box.top, box.right, box.bottom, kBoxBackground);
    FrameInside(dc, box, 1, RGB(128, 128, 128));
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = ::SetTextColor(dc, kBoxText);
    RECT r{box.left, box.top, box.right, box.bottom};
    ::DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    ::SelectObject(dc, oldFont);
}

void Crosshair(HDC dc, PixelPoint p, const PixelRect& screen) {
    if (!screen.Contains(p.x, p.y)) return;  // on another monitor: nothing to cross here
    ::PatBlt(dc, screen.left, p.y, screen.Width(), 1, DSTINVERT);
    // The vertical line skips the pointer's pixel, which the horizontal line has already inverted.
    ::PatBlt(dc, p.x, screen.top, 1, p.y - screen.top, DSTINVERT);
    ::PatBlt(dc, p.x, p.y + 1, 1, screen.bottom - p.y - 1, DSTINVERT);
}

void Magnifier(HDC dc, HDC frozen, PixelPoint pointer, const PixelRect& box, const PixelRect& screen) {
    Fill(dc, box.left, box.top, box.right, box.bottom, kBoxBackground);  // beyond the screen's edge
    CaptureGeometry::MagnifierView view =
        CaptureGeometry::MagnifierFor(pointer, kMagnifierRadius, kMagnifierZoom, box, screen);
    if (!view.source.IsEmpty()) {
        int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);  // whole pixels, no blending
        ::StretchBlt(dc, view.target.left, view.target.top, view.target.Width(), view.target.Height(),
                     frozen, view.source.left, view.source.top, view.source.Width(), view.source.Height(),
                     SRCCOPY);
        ::SetStretchBltMode(dc, oldMode);
    }
    int centre = kMagnifierRadius * kMagnifierZoom;
    FrameAround(dc, {box.left + centre, box.top + centre, box.left + centre + kMagnifierZoom,
                     box.top + centre + kMagnifierZoom}, kAccent);
    FrameAround(dc, box, RGB(128, 128, 128));
}

}  // namespace OverlayDrawing
