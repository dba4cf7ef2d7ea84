#pragma once
// Which agent takes the picture in each capture mode.
#include <windows.h>

class CBitmap;
struct AgentOptions;

struct CaptureAgent {
    const char* name;
    void (*install)(HWND window, CBitmap* bitmap);
    void (*uninstall)();
    // Timed agents report by themselves after a fixed delay; the others wait for the user.
    bool timed;
    // What else goes into the picture; null for agents that take no options.
    void (*setOptions)(const AgentOptions* options);
};

// Capture mode 6: the monitor under the pointer (the screen agent, told so).
constexpr int kCaptureModeMonitor = 6;

// The agent of modes 1 to 4 and 6; null for mode 5 (no agent) and for any other value.
const CaptureAgent* AgentForMode(int captureMode);

// Tells the agent of `captureMode` what to put into its next picture besides the screen.
void PrepareAgent(int captureMode, bool includePointer);
