#pragma once
// What the timed agents share: the thread timer that tells the caller when to finish, and the
// grab of a screen area into the caller's bitmap object.
#include <windows.h>

#include "capture/capture_geometry.h"
#include "framework/gdi.h"

namespace AgentSupport {

// Starts a thread timer (no window) that calls `callback` every `period` ms. On failure shows
// "SetTimer error!" with the library's name as caption and returns 0.
UINT_PTR StartTimer(UINT period, TIMERPROC callback);
void StopTimer(UINT_PTR& timer);

// Posts WM_CAPTURE_DONE with "picture ready" to `window`.
void PostPictureReady(HWND window);

// Copies the given area of the screen, through a display context, into a new bitmap compatible
// with the display. An area with no width or height gives no bitmap.
HBITMAP GrabScreenArea(HDC display, int left, int top, int width, int height);

// Draws the current mouse pointer into `picture`, a copy of `area` of the desktop.
void DrawPointerInto(HBITMAP picture, HDC display, const PixelRect& area);

// The ownership rule of the bitmap object: destroy the image held, then own the new one (which
// may be none, when the grab failed).
void ReplaceImage(CBitmap* target, HBITMAP picture);

}  // namespace AgentSupport
