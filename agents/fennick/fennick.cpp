// Fennick: the screen agent. 100 ms after start it asks the caller to finish it; finishing copies
// the whole primary screen into the caller's bitmap object.
#include "agents/agents.h"
#include "agents/support/agent_support.h"
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

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) { AgentSupport::PostPictureReady(target.window); }

}  // namespace

void InstallFennick(HWND window, CBitmap* bitmap) {
    target = {window, bitmap};
    AgentSupport::Publish(sharedTarget, target);
    timer = AgentSupport::StartTimer(100, OnTimer);
}

void UninstallFennick() {
    AgentSupport::StopTimer(timer);
    HDC display = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    // Only the primary screen, from its top-left corner.
    HBITMAP picture = AgentSupport::GrabScreenArea(display, 0, 0, ::GetDeviceCaps(display, HORZRES),
                                                   ::GetDeviceCaps(display, VERTRES));
    ::DeleteDC(display);
    AgentSupport::ReplaceImage(target.bitmap, picture);
}
