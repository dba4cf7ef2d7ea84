#pragma once
// A small area of the image as 32-bit pixels the drawing code can change: read from one bitmap
// (the unmarked image), drawn on, and written into another (the image shown). A DIB section, so
// GDI can draw the text label on it too.
#include <windows.h>

#include "editor/annotate/pixel_blend.h"
#include "framework/gdi.h"

class PixelPatch {
public:
    PixelPatch() = default;
    ~PixelPatch() {
        if (previous) ::SelectObject(dc, previous);
    }
    PixelPatch(const PixelPatch&) = delete;
    PixelPatch& operator=(const PixelPatch&) = delete;

    // The pixels of `area` of `source` (clipped to it). False when the area is empty or the patch
    // cannot be made.
    bool Load(HBITMAP source, MarkGeometry::Box area, HWND window);
    // Copies the patch into `target` at its area.
    void StoreInto(HBITMAP target) const;

    PixelArea Pixels() const { return {bits, area.Width(), area}; }
    const MarkGeometry::Box& Area() const { return area; }
    // A memory DC with the patch selected, origin at the area's top-left pixel.
    HDC Dc() const { return dc; }

private:
    CDC dc;
    CBitmap section;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;
    MarkGeometry::Box area;
    HWND window = nullptr;
};
