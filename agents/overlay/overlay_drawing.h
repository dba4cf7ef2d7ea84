#pragma once
// The feedback the interactive agents draw over the frozen screen: frames, text boxes, the
// crosshair and the magnifier. All in screen pixels.
#include <windows.h>

#include "capture/capture_geometry.h"

namespace OverlayDrawing {

// The colour of frames and markers: loud enough to be seen over any ordinary window.
constexpr COLORREF kAccent = RGB(240, 20, 120);

// A frame `thickness` pixels wide along the inside of `area`.
void FrameInside(HDC dc, const PixelRect& area, int thickness, COLORREF colour);
// A one-pixel frame just outside `area`, so that every pixel of the area itself stays visible.
void FrameAround(HDC dc, const PixelRect& area, COLORREF colour);

// The size of a text box holding `text` (one line, with a margin).
SIZE TextBoxSize(HDC dc, const char* text);
// Light text on a dark box with a thin border.
void TextBox(HDC dc, const PixelRect& box, const char* text);

// Full-screen lines through the pointer, drawn by inverting what is beneath (seen on any colour).
void Crosshair(HDC dc, PixelPoint pointer, const PixelRect& screen);

// The magnifier: the frozen screen around `pointer`, zoomed, in a square box; the pointer's own
// pixel is outlined in the middle.
constexpr int kMagnifierRadius = 7;  // 15 x 15 source pixels
constexpr int kMagnifierZoom = 8;
constexpr int kMagnifierSize = (2 * kMagnifierRadius + 1) * kMagnifierZoom;
void Magnifier(HDC dc, HDC frozen, PixelPoint pointer, const PixelRect& box, const PixelRect& screen);

}  // namespace OverlayDrawing
