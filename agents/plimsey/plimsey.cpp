// Plimsey: placeholder until the interactive agent lands; it reports "nothing to deliver" at once.
#include "agents/agents.h"
#include "framework/framework.h"

namespace {
CWinApp theAgent("Plimsey");
HWND targetWindow = nullptr;
}  // namespace

void InstallPlimsey(HWND window, CBitmap*) {
    targetWindow = window;
    ::PostMessageA(window, WM_CAPTURE_DONE, kCaptureNothingToDeliver, 0);
}

void UninstallPlimsey() {}
