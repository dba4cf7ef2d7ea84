// Torvel: the active-window agent. 200 ms after start it asks the caller to finish it; finishing
// copies the foreground window, clipped to the desktop, into the caller's bitmap object (parts of
// it on no monitor black).
#include "agents/agents.h"
#include "agents/support/agent_support.h"
#include "capture/capture_geometry.h"
#include "capture/monitor_layout.h"
#include "capture/screen_area.h"
#include "framework/framework.h"

namespace {

CWinApp theAgent("Torvel");

// Shared between every process that loads the library, as its callers have always had it; written
// for them, never read back (see SharedTarget).
volatile AgentSupport::SharedTarget sharedTarget __attribute__((section("mydata"), shared)) = {
    nullptr, nullptr, 0};

// The caller of this process's run.
AgentSupport::Target target;
UINT_PTR timer = 0;
AgentOptions options{};

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) { AgentSupport::PostPictureReady(target.window); }

PixelRect WindowRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

void SetTorvelOptions(const AgentOptions* chosen) { options = chosen ? *chosen : AgentOptions{}; }

void InstallTorvel(HWND window, CBitmap* bitmap) {
    target = {window, bitmap};
    AgentSupport::Publish(sharedTarget, target);
    timer = AgentSupport::StartTimer(200, OnTimer);
}

void UninstallTorvel() {
    AgentSupport::StopTimer(timer);
    // The screen's own context counts in desktop coordinates, negative ones included; a context
    // made for "DISPLAY" does not everywhere (Wine counts from the desktop's corner).
    HDC display = ::GetDC(nullptr);
    HWND foreground = ::GetForegroundWindow();
    if (!foreground) {
        AfxMessageBox("getactivewindow failed!", MB_OK);
        ::ReleaseDC(nullptr, display);
        return;  // the bitmap object keeps what it had
    }
    std::vector<PixelRect> monitors = ScreenArea::Monitors();
    PixelRect area = CaptureGeometry::ClipToDesktop(WindowRect(foreground), MonitorLayout::VirtualDesktop(monitors));
    HBITMAP picture = ScreenArea::GrabArea(display, area, monitors);
    if (picture && options.includePointer) AgentSupport::DrawPointerInto(picture, display, area);
    ::ReleaseDC(nullptr, display);
    AgentSupport::ReplaceImage(target.bitmap, picture);
}
