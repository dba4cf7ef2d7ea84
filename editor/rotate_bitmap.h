#pragma once
// RotateBitmap: a quarter or half turn of a device-dependent bitmap through 24-bit DIB rows, so that
// every depth is handled alike.
#include <windows.h>

// A new bitmap holding `bitmap` turned by `code` (90 a quarter clockwise, 270 a quarter
// counter-clockwise, 180 a half turn, anything else unchanged), compatible with the source bitmap;
// null when given none, or when the buffers or the new bitmap cannot be made.
HBITMAP RotateBitmap(HBITMAP bitmap, int code);
