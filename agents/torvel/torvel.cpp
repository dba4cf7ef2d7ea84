// Torvel: the active-window agent. 200 ms after start it asks the caller to finish it; finishing
// copies the foreground window, clipped to the screen, into the caller's bitmap object.
#include "agents/agents.h"
#include "agents/support/agent_support.h"
#include "capture/capture_geometry.h"
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

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) { AgentSupport::PostPictureReady(target.window); }

PixelRect WindowRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

void InstallTorvel(HWND window, CBitmap* bitmap) {
    target = {window, bitmap};
    AgentSupport::Publish(sharedTarget, target);
    timer = AgentSupport::StartTimer(200, OnTimer);
}

void UninstallTorvel() {
    AgentSupport::StopTimer(timer);
    HDC display = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    HWND foreground = ::GetForegroundWindow();
    if (!foreground) {
        AfxMessageBox("getactivewindow failed!", MB_OK);
        ::DeleteDC(display);
        return;  // the bitmap object keeps what it had
    }
    PixelRect area = CaptureGeometry::ClipToDesktop(WindowRect(foreground), WindowRect(::GetDesktopWindow()));
    HBITMAP picture = AgentSupport::GrabScreenArea(display, area.left, area.top, area.Width(), area.Height());
    ::DeleteDC(display);
    AgentSupport::ReplaceImage(target.bitmap, picture);
}
