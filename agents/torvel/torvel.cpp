// Torvel: the active-window agent. 200 ms after start it asks the caller to finish it; finishing
// copies the foreground window, clipped to the screen, into the caller's bitmap object.
#include "agents/agents.h"
#include "agents/support/agent_support.h"
#include "capture/capture_geometry.h"
#include "framework/framework.h"

namespace {

CWinApp theAgent("Torvel");

HWND targetWindow __attribute__((section("mydata"), shared)) = nullptr;
CBitmap* targetBitmap __attribute__((section("mydata"), shared)) = nullptr;

UINT_PTR timer = 0;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) { AgentSupport::PostPictureReady(targetWindow); }

PixelRect WindowRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

void InstallTorvel(HWND window, CBitmap* bitmap) {
    targetWindow = window;
    targetBitmap = bitmap;
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
    AgentSupport::ReplaceImage(targetBitmap, picture);
}
