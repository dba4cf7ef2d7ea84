#include "capture/capture_controller.h"


#include "agents/agents.h"
#include "app/kelvane101_view.h"
#include "app/main_frame.h"
#include "capture/capture_agents.h"
#include "capture/clipboard_copy.h"
#include "capture/foreground.h"
#include "capture/image_info_dialog.h"
#include "capture/shutter_sound.h"

void CaptureController::StartCapture() {
    int mode = view.settings.captureMode;
    const CaptureAgent* agent = AgentForMode(mode);
    if (!agent && mode != 5) {
        // Only a damaged configure.dat brings another mode: refuse rather than hang.
        if (gate.IsIdle()) ::MessageBeep(0xFFFFFFFF);
        return;
    }
    switch (gate.Request()) {
        case CaptureGate::Answer::kRefusedWhileAgentRuns:
            return;
        case CaptureGate::Answer::kRefusedWhilePipelineRuns:
            BringWaitingDialogForward();
            return;
        case CaptureGate::Answer::kGo:
            break;
    }
    CMainFrame* frame = view.MainFrame();
    if (frame) frame->ShowWindow(SW_HIDE);
    if (!agent) {
        DirectGrab();
        gate.Release();
        return;
    }
    startedAgent = agent;
    if (agent->timed) view.SetTimer(kWatchdogTimer, kWatchdogMilliseconds);
    PrepareAgent(mode, view.settings.includePointer != 0);
    agent->install(view.m_hWnd, &view.imageBitmap);
}

void CaptureController::OnWatchdog() {
    view.KillTimer(kWatchdogTimer);
    if (!startedAgent) return;
    // Finishing a timed agent makes it grab; keep the image on screen out of its reach.
    HGDIOBJ kept = view.imageBitmap.Detach();
    startedAgent->uninstall();
    view.imageBitmap.Attach(kept);
    startedAgent = nullptr;
    gate.Release();
}

void CaptureController::OnCaptureDone(WPARAM result) {
    // A report nobody waits for (a second one, or one after the watchdog) changes nothing.
    if (!startedAgent) return;
    view.KillTimer(kWatchdogTimer);
    const CaptureAgent* agent = startedAgent;
    startedAgent = nullptr;
    agent->uninstall();

    if (!view.imageBitmap.GetSafeHandle() || result == kCaptureNothingToDeliver) {
        gate.Release();
        if (result == kCaptureNothingToDeliver) ::MessageBeep(0xFFFFFFFF);
        return;
    }
    // The box, the dialog and the save wait for the user with this picture; no capture may
    // replace it until they are done.
    gate.PictureTaken();
    RunPipeline();
    gate.Release();
}

void CaptureController::BringWaitingDialogForward() {
    CMainFrame* frame = view.MainFrame();
    if (HWND dialog = WaitingDialog(frame ? frame->m_hWnd : nullptr)) ::SetForegroundWindow(dialog);
}

void CaptureController::RunPipeline() {
    CaptureSettings& settings = view.settings;
    CMainFrame* frame = view.MainFrame();
    bool agentMode = settings.captureMode != 5;

    view.hasImage = true;
    view.editMode = CKelvane101View::kEditMove;
    view.hasSelection = false;
    BITMAP image{};
    view.imageBitmap.GetBitmap(&image);
    int bitsPerPixel = image.bmPlanes * image.bmBitsPixel;
    // The new image is shown at 100 % from here on: the editor may come back and paint while the
    // Save As dialog is open, and the zoom of the image before would show its reduced copy.
    view.zoomPercent = 100;
    view.SetScrollSizes(MM_TEXT, CSize(image.bmWidth, image.bmHeight));

    if (settings.playSound == 1) PlayShutterSound();

    if (settings.showInfoDialog == 1 && agentMode) {
        if (frame) ForceForeground(frame->m_hWnd);
        CImageInfoDialog info(image.bmWidth, image.bmHeight, bitsPerPixel, frame);
        info.DoModal();
    }

    if (settings.showEditor == 1 && agentMode && frame) BringEditorForward(frame->m_hWnd);

    if (settings.copyToClipboard == 1) CopyToClipboard(image.bmWidth, image.bmHeight);

    if (settings.saveToFile == 1) view.SaveAfterCapture();

    view.StartHistory();
    view.ShowImageStatus();
    view.Invalidate(false);
}

void CaptureController::CopyToClipboard(int width, int height) {
    CopyImageToClipboard(view.m_hWnd, static_cast<HBITMAP>(view.imageBitmap.GetSafeHandle()), width, height,
                         view.clipboardBitmap);
}
