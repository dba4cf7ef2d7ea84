#pragma once
// The virtual desktop (every monitor) as it stood at one moment. The interactive agents show this copy while the
// user chooses, and cut the picture from it, so that nothing that changes on the real screen in
// the meantime (nor their own overlay) ends up in the picture.
#include <windows.h>

#include "agents/overlay/memory_canvas.h"
#include "capture/capture_geometry.h"
#include "capture/screen_area.h"

class FrozenScreen {
public:
    // Copies the desktop now, black where no monitor is; false when no copy could be made.
    bool Take();
    bool IsTaken() const { return static_cast<bool>(copy_); }
    // The desktop's area in desktop coordinates: (0, 0) is the primary monitor's top-left pixel.
    const PixelRect& Bounds() const { return bounds_; }
    // A context holding the copy, addressed in desktop coordinates, for painting it and magnifying
    // parts of it.
    HDC Dc() const { return copy_.Dc(); }
    // A new bitmap, compatible with the screen, holding `area` of the copy clipped to the desktop,
    // with the pointer drawn in where it was at the freeze if asked; null when nothing of `area`
    // is on the desktop.
    HBITMAP Cut(const PixelRect& area, bool withPointer = false) const;

private:
    PixelRect bounds_;
    MemoryCanvas copy_;
    ScreenArea::Pointer pointer_;  // as it was at the freeze
};
