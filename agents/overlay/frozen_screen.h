#pragma once
// The primary screen as it stood at one moment. The interactive agents show this copy while the
// user chooses, and cut the picture from it, so that nothing that changes on the real screen in
// the meantime (nor their own overlay) ends up in the picture.
#include <windows.h>

#include "agents/overlay/memory_canvas.h"
#include "capture/capture_geometry.h"

class FrozenScreen {
public:
    // Copies the primary screen now; false when no copy could be made.
    bool Take();
    bool IsTaken() const { return static_cast<bool>(copy_); }
    // The primary screen's area, in physical pixels from (0, 0).
    const PixelRect& Bounds() const { return bounds_; }
    // A context holding the copy, for painting it and magnifying parts of it.
    HDC Dc() const { return copy_.Dc(); }
    // A new bitmap, compatible with the screen, holding `area` of the copy clipped to the screen;
    // null when nothing of `area` is on the screen.
    HBITMAP Cut(const PixelRect& area) const;

private:
    PixelRect bounds_;
    MemoryCanvas copy_;
};
