#pragma once
// What the timed agents share: whom they report to, the thread timer that tells the caller when to
// finish, and the grab of a screen area into the caller's bitmap object.
#include <windows.h>

#include "capture/capture_geometry.h"
#include "framework/gdi.h"

namespace AgentSupport {

// The caller of a run: the window to report to and the bitmap object to fill.
struct Target {
    HWND window = nullptr;
    CBitmap* bitmap = nullptr;
};

// The timed agents' data section shared by every process that loads the library: the caller as
// the last start wrote it, and that caller's process. Other programs may read it; no process acts
// on it, since another copy of the program (or any process loading the library) can write it at
// any time: a handle or a pointer from there would send our report elsewhere or make us write
// through an address of another process. The caller actually used is kept in process memory.
struct SharedTarget {
    HWND window;
    CBitmap* bitmap;
    DWORD ownerProcess;
};

// Records `target` in the shared section, as this process's.
void Publish(volatile SharedTarget& shared, const Target& target);

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
