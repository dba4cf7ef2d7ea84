// Fennick: the screen agent. 100 ms after start it asks the caller to finish it; finishing copies
// the whole virtual desktop (or, when asked, the monitor under the pointer) into the caller's
// bitmap object.
#include "agents/agents.h"
#include "agents/support/agent_support.h"
#include "capture/monitor_layout.h"
#include "capture/screen_area.h"
#include "framework/framework.h"

namespace {

CWinApp theAgent("Fennick");

// Shared between every process that loads the library, as its callers have always had it; written
// for them, never read back (see SharedTarget).
volatile AgentSupport::SharedTarget sharedTarget __attribute__((section("mydata"), shared)) = {
    nullptr, nullptr, 0};

// The caller of this process's run.
AgentSupport::Target target;
UINT_PTR timer = 0;
AgentOptions options{};

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) { AgentSupport::PostPictureReady(target.window); }

PixelRect AreaToTake(const std::vector<PixelRect>& monitors) {
    if (!options.monitorUnderPointer) return MonitorLayout::VirtualDesktop(monitors);
    POINT at{};
    ::GetCursorPos(&at);
    const PixelRect* monitor = MonitorLayout::MonitorAt(monitors, {at.x, at.y});
    return monitor ? *monitor : ScreenArea::PrimaryScreen();
}

}  // namespace

void SetFennickOptions(const AgentOptions* chosen) { options = chosen ? *chosen : AgentOptions{}; }

void InstallFennick(HWND window, CBitmap* bitmap) {
    target = {window, bitmap};
    AgentSupport::Publish(sharedTarget, target);
    timer = AgentSupport::StartTimer(100, OnTimer);
}

void UninstallFennick() {
    AgentSupport::StopTimer(timer);
    // The screen's own context counts in desktop coordinates, negative ones included; a context
    // made for "DISPLAY" does not everywhere (Wine counts from the desktop's corner).
    HDC display = ::GetDC(nullptr);
    std::vector<PixelRect> monitors = ScreenArea::Monitors();
    PixelRect area = AreaToTake(monitors);
    HBITMAP picture = ScreenArea::GrabArea(display, area, monitors);
    if (picture && options.includePointer) AgentSupport::DrawPointerInto(picture, display, area);
    ::ReleaseDC(nullptr, display);
    AgentSupport::ReplaceImage(target.bitmap, picture);
}
