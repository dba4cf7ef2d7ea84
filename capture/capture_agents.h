#pragma once
// Which agent takes the picture in each capture mode.
#include <windows.h>

class CBitmap;

struct CaptureAgent {
    const char* name;
    void (*install)(HWND window, CBitmap* bitmap);
    void (*uninstall)();
    // Timed agents report by themselves after a fixed delay; the others wait for the user.
    bool timed;
};

// The agent of modes 1 to 4; null for mode 5 (no agent) and for any other value.
const CaptureAgent* AgentForMode(int captureMode);
