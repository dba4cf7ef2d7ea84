#include "capture/delayed_capture.h"

#include "app/kelvane101_view.h"
#include "app/main_frame.h"

namespace {

constexpr char kProgramName[] = "Tessaly Screen Capture";  // the tooltip the icon was added with
constexpr UINT kOneSecond = 1000;

}  // namespace

void DelayedCapture::Request() {
    // A capture already under way decides for itself what a further request means.
    if (!delay.IsCounting() && view.capture.captureRunning()) {
        view.capture.StartCapture();
        return;
    }
    switch (delay.Request(view.settings.delaySeconds)) {
    case CaptureDelay::Outcome::CaptureNow:
        view.capture.StartCapture();
        return;
    case CaptureDelay::Outcome::Started:
        view.SetTimer(kCountdownTimer, kOneSecond);
        ShowCountdown();
        return;
    case CaptureDelay::Outcome::Cancelled:
        EndCountdown();
        return;
    }
}

void DelayedCapture::OnTimer() {
    if (!delay.Tick()) {
        if (delay.IsCounting()) ShowCountdown();
        else EndCountdown();  // a tick after a cancel
        return;
    }
    EndCountdown();
    view.capture.StartCapture();
}

void DelayedCapture::ShowCountdown() {
    if (CMainFrame* frame = view.MainFrame())
        frame->SystemTray().SetTooltipText(CaptureDelay::CountdownTooltip(kProgramName, delay.SecondsLeft()).c_str());
}

void DelayedCapture::EndCountdown() {
    view.KillTimer(kCountdownTimer);
    if (CMainFrame* frame = view.MainFrame()) frame->SystemTray().SetTooltipText(kProgramName);
}
