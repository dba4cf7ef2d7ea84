#include "agents/overlay/overlay_window.h"

#include <windowsx.h>

#include "agents/overlay/frozen_screen.h"
#include "capture/foreground.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

const char kClassName[] = "TessalyCaptureOverlay";
constexpr UINT_PTR kSettleTimer = 1;
// As long as the screen agent waits before its grab, for the same reason: the windows beneath the
// caller's just-hidden window repaint meanwhile.
constexpr UINT kSettleMilliseconds = 100;
// For this long after the overlay has moved the pointer itself, mouse reports of another place
// are echoes of where the pointer was, not the user's doing.
constexpr UINT_PTR kPointerEchoTimer = 2;
constexpr UINT kPointerEchoMilliseconds = 200;

// Registered once per library (each agent's copy of this code registers it for its own module)
// and left registered: the next capture reuses it.
bool RegisterOverlayClass(HINSTANCE module, WNDPROC procedure) {
    WNDCLASSA existing;
    if (::GetClassInfoA(module, kClassName, &existing)) return true;
    WNDCLASSA wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = module;
    wc.lpszClassName = kClassName;
    // No background brush and no class cursor: the overlay paints every pixel itself, and the
    // agent chooses the cursor.
    return ::RegisterClassA(&wc) != 0;
}

// The system lets a program take the foreground only in some circumstances. The caller has just
// received the user's hot-key or command, which usually suffices; when it does not, our input is
// tied to the foreground thread for the moment of the switch.
void TakeForeground(HWND window) {
    if (!::SetForegroundWindow(window)) ForceForeground(window);
    ::SetActiveWindow(window);
    ::SetFocus(window);
}

PixelPoint PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

bool OverlayWindow::Create(const char* title) {
    HINSTANCE module = reinterpret_cast<HINSTANCE>(&__ImageBase);
    if (!RegisterOverlayClass(module, WindowProc)) return false;
    // Where the virtual desktop is; the frozen copy is taken later, and will cover the same.
    int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // A tool window has no taskbar button; topmost keeps it above every normal window.
    if (!::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, title, WS_POPUP, left, top, width,
                           height, nullptr, nullptr, module, this))
        return false;
    if (!::SetTimer(window_, kSettleTimer, kSettleMilliseconds, nullptr)) {
        Close();
        return false;
    }
    return true;
}

bool OverlayWindow::Show() {
    if (!window_) return false;
    const PixelRect& bounds = screen_.Bounds();
    HDC screenDc = ::GetDC(nullptr);
    bool ok = backBuffer_.Create(screenDc, bounds.Width(), bounds.Height());
    ::ReleaseDC(nullptr, screenDc);
    if (!ok) return false;
    // The clients decorate in desktop coordinates.
    ::SetViewportOrgEx(backBuffer_.Dc(), -bounds.left, -bounds.top, nullptr);
    POINT now{};
    ::GetCursorPos(&now);
    pointer_ = {now.x, now.y};
    ::SetWindowPos(window_, HWND_TOPMOST, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
                   SWP_SHOWWINDOW);
    ::UpdateWindow(window_);  // painted at once: the user never sees the switch
    TakeForeground(window_);
    return true;
}

void OverlayWindow::StopInput() {
    acceptingInput_ = false;
    HoldMouse(false);
}

void OverlayWindow::Close() {
    if (window_) {
        HoldMouse(false);
        ::DestroyWindow(window_);  // its timers go with it; WM_NCDESTROY forgets the handle
    }
    backBuffer_.Release();
}

void OverlayWindow::Redraw() {
    if (window_) ::InvalidateRect(window_, nullptr, FALSE);
}

void OverlayWindow::HoldMouse(bool hold) {
    if (!window_) return;
    if (hold) ::SetCapture(window_);
    else if (::GetCapture() == window_) ::ReleaseCapture();
}

// `this` travels in CreateWindowEx's last argument: bound at WM_NCCREATE, unbound at WM_NCDESTROY.
LRESULT CALLBACK OverlayWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* creating = static_cast<OverlayWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        creating->window_ = window;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
    }
    auto* self = reinterpret_cast<OverlayWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY && self) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    if (!self || message == WM_NCCREATE || message == WM_NCDESTROY)
        return ::DefWindowProcA(window, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT OverlayWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        ::KillTimer(window_, wParam);
        if (wParam == kSettleTimer) client_.OnSettled();
        if (wParam == kPointerEchoTimer) OnPointerEchoesOver();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // Paint covers everything
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETCURSOR:
        ::SetCursor(client_.Cursor());
        return TRUE;
    case WM_CLOSE:  // Alt+F4 and the like: the user wants out
        if (acceptingInput_) client_.OnCancel();
        return 0;
    }
    if (message == WM_KEYDOWN) {
        if (acceptingInput_) OnKeyDown(static_cast<UINT>(wParam));
        return 0;
    }
    if (HandleInput(message, lParam)) return 0;
    return ::DefWindowProcA(window_, message, wParam, lParam);
}

// The mouse: true when `message` was one, handled or ignored.
bool OverlayWindow::HandleInput(UINT message, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
        if (!acceptingInput_) return true;
        // The overlay covers the desktop: its client origin is the desktop's top-left pixel.
        PixelPoint at = PointOf(lParam);
        at.x += screen_.Bounds().left;
        at.y += screen_.Bounds().top;
        if (pointerJustSet_ && at != pointer_) {
            if (message == WM_MOUSEMOVE) return true;  // an echo of where the pointer was
            at = pointer_;  // a button pressed where the keys left the pointer
        }
        pointer_ = at;
        if (message == WM_MOUSEMOVE) client_.OnPointerMove(pointer_);
        else if (message == WM_LBUTTONDOWN) client_.OnLeftDown(pointer_);
        else client_.OnLeftUp(pointer_);
        return true;
    }
    case WM_RBUTTONDOWN:
        return true;
    case WM_RBUTTONUP:
        // On the release, not the press: otherwise the release would reach the window beneath
        // once the overlay has gone, and open its context menu.
        if (acceptingInput_) client_.OnCancel();
        return true;
    }
    return false;
}

void OverlayWindow::OnKeyDown(UINT key) {
    switch (key) {
    case VK_ESCAPE: client_.OnCancel(); return;
    case VK_LEFT: NudgePointer(-1, 0); return;
    case VK_RIGHT: NudgePointer(1, 0); return;
    case VK_UP: NudgePointer(0, -1); return;
    case VK_DOWN: NudgePointer(0, 1); return;
    }
    client_.OnKey(key, pointer_);
}

// An arrow key moves the pointer one pixel (ten with Shift), for exact corners.
//
// Some systems (Wine, where the move makes a round trip through the X server) report the old
// position once more after the pointer has been set, and may even leave the pointer there. So the
// overlay counts from where it put the pointer itself, disregards reports of elsewhere for a
// moment, and then puts the pointer back if an echo has moved it.
void OverlayWindow::NudgePointer(int dx, int dy) {
    int step = ::GetKeyState(VK_SHIFT) < 0 ? 10 : 1;
    pointer_ = CaptureGeometry::NudgePointer(pointer_, dx * step, dy * step, screen_.Bounds());
    ::SetCursorPos(pointer_.x, pointer_.y);
    pointerJustSet_ = true;
    ::SetTimer(window_, kPointerEchoTimer, kPointerEchoMilliseconds, nullptr);
    // Not every system reports the move back as a mouse message; the client hears of it here.
    client_.OnPointerMove(pointer_);
}

void OverlayWindow::OnPointerEchoesOver() {
    pointerJustSet_ = false;
    POINT now{};
    ::GetCursorPos(&now);
    if (now.x != pointer_.x || now.y != pointer_.y) ::SetCursorPos(pointer_.x, pointer_.y);
}

void OverlayWindow::Paint() {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window_, &ps);
    if (backBuffer_ && screen_.IsTaken()) {
        const RECT& r = ps.rcPaint;
        int width = r.right - r.left, height = r.bottom - r.top;
        // The frozen copy and the back buffer are addressed in desktop coordinates.
        int x = r.left + screen_.Bounds().left, y = r.top + screen_.Bounds().top;
        ::BitBlt(backBuffer_.Dc(), x, y, width, height, screen_.Dc(), x, y, SRCCOPY);
        client_.Decorate(backBuffer_.Dc());
        ::BitBlt(dc, r.left, r.top, width, height, backBuffer_.Dc(), x, y, SRCCOPY);
    }
    ::EndPaint(window_, &ps);
}
