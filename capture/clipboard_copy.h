#pragma once
// The clipboard step after a capture. The copy of the image is made first; the clipboard is
// opened and emptied only once there is a finished copy to put on it, so a copy that cannot be
// made (no memory for the bitmap, an image that cannot be read) leaves the user's clipboard as it was.
#include <windows.h>

#include "framework/framework.h"

// Copies `width` x `height` pixels of `image` into a new bitmap compatible with `window` (held by
// `holder` until the clipboard takes it) and places it on the clipboard as CF_BITMAP. False when
// nothing was placed: the copy failed, or the clipboard was busy (skipped without a word).
bool CopyImageToClipboard(HWND window, HBITMAP image, int width, int height, CBitmap& holder);

// Places a finished copy on the clipboard: its PNG, then the bitmap itself as CF_BITMAP, which the
// clipboard takes over. False when nothing was placed (the clipboard was busy: skipped without a
// word); `copy` is then deleted.
bool PlaceOnClipboard(HWND window, CBitmap& copy);
