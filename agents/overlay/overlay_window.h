#pragma once
// The overlay of an interactive agent: a topmost borderless window over the whole virtual desktop
// that shows the frozen copy of the screen, with the agent's feedback drawn on top, and hands the
// user's mouse and keyboard input to the agent.
//
// It is made hidden first and waits a moment before it asks the agent to freeze the screen: the
// caller has just hidden its own window, and the windows beneath need that moment to repaint.
// Only then is it shown, so it never sees itself.
#include <windows.h>

#include "agents/overlay/memory_canvas.h"
#include "capture/capture_geometry.h"

class FrozenScreen;

// What the overlay asks of the agent that shows it. Points are screen pixels.
class OverlayClient {
public:
    virtual ~OverlayClient() = default;
    // The screen has settled: time to freeze it and show the overlay.
    virtual void OnSettled() = 0;
    virtual void OnPointerMove(PixelPoint at) = 0;
    virtual void OnLeftDown(PixelPoint at) = 0;
    virtual void OnLeftUp(PixelPoint at) = 0;
    // A key the overlay does not handle itself (it handles Esc and the arrow keys).
    virtual void OnKey(UINT key, PixelPoint pointer) = 0;
    // Esc, a right click, or a request to close the overlay.
    virtual void OnCancel() = 0;
    // Draws the feedback over the frozen picture, in screen pixels.
    virtual void Decorate(HDC dc) = 0;
    virtual HCURSOR Cursor() const = 0;
};

class OverlayWindow {
public:
    OverlayWindow(const FrozenScreen& screen, OverlayClient& client) : screen_(screen), client_(client) {}
    ~OverlayWindow() { Close(); }
    OverlayWindow(const OverlayWindow&) = delete;
    OverlayWindow& operator=(const OverlayWindow&) = delete;

    // Makes the window, still hidden, and starts the wait after which the client hears OnSettled.
    bool Create(const char* title);
    // Shows the frozen screen over the real one, on top of everything, with the keyboard focus.
    bool Show();
    // Stops handing input to the client (once the agent has reported, nothing may change).
    void StopInput();
    void Close();
    // Repaints the frozen screen and the client's feedback.
    void Redraw();
    // Keeps the mouse for this window while a button is held, wherever the pointer goes.
    void HoldMouse(bool hold);
    // Where the pointer is, as the last mouse message or arrow key left it.
    PixelPoint Pointer() const { return pointer_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleInput(UINT message, LPARAM lParam);
    void OnKeyDown(UINT key);
    void NudgePointer(int dx, int dy);
    void OnPointerEchoesOver();
    void Paint();

    const FrozenScreen& screen_;
    OverlayClient& client_;
    HWND window_ = nullptr;
    MemoryCanvas backBuffer_;  // the frame is composed here, then copied in one go: no flicker
    bool acceptingInput_ = true;
    // Tracked here rather than asked of the system: right after the overlay has set the pointer,
    // the system may still report where it was (see NudgePointer).
    PixelPoint pointer_;
    bool pointerJustSet_ = false;
};
