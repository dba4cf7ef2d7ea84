#pragma once
// Turns a capture request (hot-key, menu, toolbar, notification-area menu) into a finished image:
// hides the program, starts the agent of the current mode, and when the agent reports back runs
// the post-capture pipeline (sound, information box, editor, clipboard, save) on its picture.
#include <windows.h>

#include "capture/capture_gate.h"

class CKelvane101View;
struct CaptureAgent;

class CaptureController {
public:
    static constexpr UINT_PTR kWatchdogTimer = 2;
    // A timed agent reports within a fraction of a second; this long a silence means it never will.
    static constexpr UINT kWatchdogMilliseconds = 5000;

    explicit CaptureController(CKelvane101View& view) : view(view) {}

    // True from the start of a capture until its last step (the save, a dialog of the pipeline) is
    // done: a request meanwhile starts nothing.
    bool captureRunning() const { return !gate.IsIdle(); }

    // Starts a capture in the view's current captureMode. Refused while one runs; while the last
    // capture's information box or Save As dialog waits, that dialog is brought forward instead.
    void StartCapture();
    // WM_CAPTURE_DONE: finishes the agent that was started and runs the pipeline.
    void OnCaptureDone(WPARAM result);
    // The watchdog: a timed agent that never reported is finished without touching the image.
    void OnWatchdog();
    // Mode 5: grabs the screen into the view's pendingDib and saves it automatically if asked;
    // true when an image was made.
    bool DirectGrab();

private:
    void BringWaitingDialogForward();
    void RunPipeline();
    void CopyToClipboard(int width, int height);

    CKelvane101View& view;
    CaptureGate gate;
    const CaptureAgent* startedAgent = nullptr;  // the agent to finish, whatever the mode is by then
};
