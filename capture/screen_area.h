#pragma once
// Copying parts of the virtual desktop, every monitor at its place, and drawing the mouse pointer
// into a copy. Shared by the screen agents, the frozen screen of the interactive agents and the
// direct grab.
#include <windows.h>

#include <vector>

#include "capture/capture_geometry.h"

namespace ScreenArea {

// The monitors' rectangles in desktop coordinates, the primary first; just the primary screen
// where the system cannot list them.
std::vector<PixelRect> Monitors();
// The primary screen, from (0, 0).
PixelRect PrimaryScreen();

// Copies `area` of the desktop (through `screen`, a display context) into `target` at (0, 0): each
// monitor's part at its place, the pixels that are on no monitor black.
void CopyArea(HDC target, HDC screen, const PixelRect& area, const std::vector<PixelRect>& monitors);
// The same into a new bitmap compatible with `screen`; null when `area` has no pixels or no
// bitmap could be made.
HBITMAP GrabArea(HDC screen, const PixelRect& area, const std::vector<PixelRect>& monitors);

// The mouse pointer as shown at one moment: its shape and its hot spot's place on the desktop.
struct Pointer {
    HCURSOR shape = nullptr;  // null: hidden
    PixelPoint at;
};
Pointer CurrentPointer();

// Draws `pointer` (by default the current one) into `target`, a copy of the desktop whose top-left
// pixel is `origin`: at its place less its hot spot, with the pointer's own transparency. Nothing
// for a hidden pointer.
void DrawPointer(HDC target, PixelPoint origin, const Pointer& pointer);
inline void DrawPointer(HDC target, PixelPoint origin) { DrawPointer(target, origin, CurrentPointer()); }

}  // namespace ScreenArea
