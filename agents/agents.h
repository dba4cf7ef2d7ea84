#pragma once
// The capture agents' common contract. Each agent is a library with a start and a finish function:
// start is handed the window to report to and the bitmap object to fill; when the moment to take
// the picture has come the agent posts WM_CAPTURE_DONE to that window, and the caller then calls
// finish, after which the bitmap object holds the picture (or nothing, if the capture failed).
#include <windows.h>

class CBitmap;

constexpr UINT WM_CAPTURE_DONE = WM_USER + 100;
// wParam of WM_CAPTURE_DONE: a picture is ready, or the agent has nothing to deliver (cancelled).
constexpr WPARAM kCapturePictureReady = 0;
constexpr WPARAM kCaptureNothingToDeliver = 0x1111;

#define TESSALY_AGENT_EXPORT extern "C" __declspec(dllexport)
#define TESSALY_AGENT_IMPORT extern "C" __declspec(dllimport)

#ifdef BUILDING_FENNICK
#define FENNICK_API TESSALY_AGENT_EXPORT
#else
#define FENNICK_API TESSALY_AGENT_IMPORT
#endif
#ifdef BUILDING_TORVEL
#define TORVEL_API TESSALY_AGENT_EXPORT
#else
#define TORVEL_API TESSALY_AGENT_IMPORT
#endif
#ifdef BUILDING_PLIMSEY
#define PLIMSEY_API TESSALY_AGENT_EXPORT
#else
#define PLIMSEY_API TESSALY_AGENT_IMPORT
#endif
#ifdef BUILDING_OSGRAVE
#define OSGRAVE_API TESSALY_AGENT_EXPORT
#else
#define OSGRAVE_API TESSALY_AGENT_IMPORT
#endif

// What the screen, active-window and window agents put into their next picture besides the screen;
// set before start, kept until set again.
struct AgentOptions {
    BOOL includePointer;       // the mouse pointer, drawn where it is at the grab
    BOOL monitorUnderPointer;  // the screen agent: only the monitor under the pointer
};

// The whole virtual desktop (every monitor at its place, black where there is none), or the
// monitor under the pointer, 100 ms after start.
FENNICK_API void InstallFennick(HWND window, CBitmap* bitmap);
FENNICK_API void UninstallFennick();
FENNICK_API void SetFennickOptions(const AgentOptions* options);
// The foreground window clipped to the desktop, 200 ms after start.
TORVEL_API void InstallTorvel(HWND window, CBitmap* bitmap);
TORVEL_API void UninstallTorvel();
TORVEL_API void SetTorvelOptions(const AgentOptions* options);
// A window, button or control the user picks.
PLIMSEY_API void InstallPlimsey(HWND window, CBitmap* bitmap);
PLIMSEY_API void UninstallPlimsey();
PLIMSEY_API void SetPlimseyOptions(const AgentOptions* options);
// A rectangle the user drags.
OSGRAVE_API void InstallOsgrave(HWND window, CBitmap* bitmap);
OSGRAVE_API void UninstallOsgrave();
