#pragma once
// Making device-dependent bitmaps compatible with a window, and copies of them. Every function
// gives back an empty CBitmap when the bitmap cannot be made (out of memory or address space), so
// that callers can leave everything as it was.
#include <windows.h>

#include "editor/selection_rules.h"
#include "framework/gdi.h"

namespace BitmapOps {

// Width and height of a bitmap; 0 x 0 for none.
CSize SizeOf(HBITMAP bitmap);
// Bits per pixel (planes x bits) of a bitmap; 0 for none.
int BitsOf(HBITMAP bitmap);

// A new bitmap of width x height compatible with `window`'s client area (its content undefined),
// or empty. Sizes below 1 give empty.
CBitmap MakeCompatible(HWND window, int width, int height);

// A copy of all of `source`, compatible with `window`; empty for no source.
CBitmap CopyOf(HBITMAP source, HWND window);

// CopyBitmap: replaces `destination`'s bitmap by a copy of `source`. The copy is made first, so a
// copy that cannot be made leaves `destination` as it was; returns false then.
bool CopyBitmap(HBITMAP source, CBitmap& destination, HWND window);

// The part of `source` under `area` (image pixels, edges inclusive) as a bitmap of the area's
// full size; what lies outside the source is black.
CBitmap CopyArea(HBITMAP source, HWND window, const SelectionRules::Selection& area);

// Same size and format as a bitmap compatible with `window` would have: such a bitmap can stand in
// for one made with MakeCompatible.
bool IsCompatibleWith(HBITMAP bitmap, HWND window);

}  // namespace BitmapOps
