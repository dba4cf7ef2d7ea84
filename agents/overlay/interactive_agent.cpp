#include "agents/overlay/interactive_agent.h"

#include <dwmapi.h>

#include "agents/agents.h"
#include "agents/support/agent_support.h"
#include "framework/win_app.h"

void InteractiveAgent::Start(HWND caller, CBitmap* target) {
    caller_ = caller;
    target_ = target;
    if (!overlay_.Create(AfxGetAppName())) Report(kCaptureNothingToDeliver);
}

void InteractiveAgent::OnSettled() {
    // With desktop composition the screen shows what the compositor last presented; wait for the
    // frame without the caller's hidden window (returns at once where there is no compositor).
    ::DwmFlush();
    if (!screen_.Take()) {
        Report(kCaptureNothingToDeliver);
        return;
    }
    OnFrozen();
    if (!overlay_.Show()) {
        Report(kCaptureNothingToDeliver);
        return;
    }
    OnPointerMove(overlay_.Pointer());  // feedback from the start, before the mouse moves
}

void InteractiveAgent::Deliver(const PixelRect& area) {
    picture_.Attach(screen_.Cut(area, includePointer_));
    Report(picture_ ? kCapturePictureReady : kCaptureNothingToDeliver);
}

void InteractiveAgent::OnCancel() { Report(kCaptureNothingToDeliver); }

void InteractiveAgent::Report(WPARAM result) {
    if (reported_) return;
    reported_ = true;
    overlay_.StopInput();
    // Nobody will finish a run whose report cannot be delivered: give the screen back at least.
    if (!::PostMessageA(caller_, WM_CAPTURE_DONE, result, 0)) overlay_.Close();
}

void InteractiveAgent::Finish() {
    overlay_.Close();
    if (picture_) AgentSupport::ReplaceImage(target_, static_cast<HBITMAP>(picture_.Detach()));
}
