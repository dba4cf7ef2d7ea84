#pragma once
// The image on the clipboard as "PNG", the registered format that current programs paste with
// its exact pixels, beside the bitmap.
#include <windows.h>

// Call while the clipboard is open and after EmptyClipboard; `bitmap` stays the caller's and must
// not be selected into a device context. Nothing is offered when the encoding fails.
void OfferPngOnClipboard(HBITMAP bitmap);

// The clipboard format's number ("PNG").
UINT PngClipboardFormat();
