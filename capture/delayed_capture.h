#pragma once
// Every capture request (hot-key, menus, toolbar) goes through here: with a delay set, the capture
// starts when the countdown ends, the notification-area tooltip counting the seconds; a second
// request while it counts cancels it. Without a delay the capture starts at once.
#include <windows.h>

#include "capture/capture_delay.h"

class CKelvane101View;

class DelayedCapture {
public:
    // Clear of the view's other timers.
    static constexpr UINT_PTR kCountdownTimer = 0x5301;

    explicit DelayedCapture(CKelvane101View& view) : view(view) {}

    void Request();
    // The countdown timer's tick.
    void OnTimer();
    // For whoever decides whether a capture may start: a countdown is under way.
    bool IsCounting() const { return delay.IsCounting(); }

private:
    void ShowCountdown();
    void EndCountdown();

    CKelvane101View& view;
    CaptureDelay delay;
};
