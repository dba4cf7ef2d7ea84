#include "agents/overlay/frozen_screen.h"

#include "agents/support/agent_support.h"
#include "capture/monitor_layout.h"
#include "capture/screen_area.h"

bool FrozenScreen::Take() {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return false;
    std::vector<PixelRect> monitors = ScreenArea::Monitors();
    bounds_ = MonitorLayout::VirtualDesktop(monitors);
    pointer_ = ScreenArea::CurrentPointer();
    bool ok = copy_.Create(screen, bounds_.Width(), bounds_.Height());
    if (ok) {
        ScreenArea::CopyArea(copy_.Dc(), screen, bounds_, monitors);
        // From here on the copy is addressed in desktop coordinates, left of or above the primary
        // monitor too.
        ::SetViewportOrgEx(copy_.Dc(), -bounds_.left, -bounds_.top, nullptr);
    }
    ::ReleaseDC(nullptr, screen);
    if (!ok) copy_.Release();
    return ok;
}

HBITMAP FrozenScreen::Cut(const PixelRect& area, bool withPointer) const {
    if (!IsTaken()) return nullptr;
    PixelRect part = CaptureGeometry::ClipToDesktop(area, bounds_);
    if (part.IsEmpty()) return nullptr;
    // A bitmap made compatible with the copy's context has the copy's format: the screen's.
    HBITMAP picture = AgentSupport::GrabScreenArea(copy_.Dc(), part.left, part.top, part.Width(), part.Height());
    if (picture && withPointer) {
        HDC memory = ::CreateCompatibleDC(copy_.Dc());
        HGDIOBJ old = ::SelectObject(memory, picture);
        ScreenArea::DrawPointer(memory, {part.left, part.top}, pointer_);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    return picture;
}
