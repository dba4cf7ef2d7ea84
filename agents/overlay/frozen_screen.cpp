#include "agents/overlay/frozen_screen.h"

#include "agents/support/agent_support.h"

bool FrozenScreen::Take() {
    HDC screen = ::GetDC(nullptr);
    if (!screen) return false;
    bounds_ = {0, 0, ::GetDeviceCaps(screen, HORZRES), ::GetDeviceCaps(screen, VERTRES)};
    bool ok = copy_.Create(screen, bounds_.Width(), bounds_.Height()) &&
              ::BitBlt(copy_.Dc(), 0, 0, bounds_.Width(), bounds_.Height(), screen, 0, 0, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    if (!ok) copy_.Release();
    return ok;
}

HBITMAP FrozenScreen::Cut(const PixelRect& area) const {
    if (!IsTaken()) return nullptr;
    PixelRect part = CaptureGeometry::ClipToDesktop(area, bounds_);
    if (part.IsEmpty()) return nullptr;
    // A bitmap made compatible with the copy's context has the copy's format: the screen's.
    return AgentSupport::GrabScreenArea(copy_.Dc(), part.left, part.top, part.Width(), part.Height());
}
