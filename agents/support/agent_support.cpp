#include "agents/support/agent_support.h"

#include "agents/agents.h"
#include "capture/screen_area.h"
#include "framework/win_app.h"

namespace AgentSupport {

void Publish(volatile SharedTarget& shared, const Target& target) {
    shared.window = target.window;
    shared.bitmap = target.bitmap;
    shared.ownerProcess = ::GetCurrentProcessId();
}

UINT_PTR StartTimer(UINT period, TIMERPROC callback) {
    UINT_PTR timer = ::SetTimer(nullptr, 0, period, callback);
    if (!timer) AfxMessageBox("SetTimer error!", MB_OK);
    return timer;
}

void StopTimer(UINT_PTR& timer) {
    if (timer) ::KillTimer(nullptr, timer);
    timer = 0;
}

void PostPictureReady(HWND window) {
    ::PostMessageA(window, WM_CAPTURE_DONE, kCapturePictureReady, 0);
}

HBITMAP GrabScreenArea(HDC display, int left, int top, int width, int height) {
    if (width <= 0 || height <= 0) return nullptr;
    HDC memory = ::CreateCompatibleDC(display);
    HBITMAP picture = ::CreateCompatibleBitmap(display, width, height);
    if (memory && picture) {
        HGDIOBJ old = ::SelectObject(memory, picture);
        ::BitBlt(memory, 0, 0, width, height, display, left, top, SRCCOPY);
        ::SelectObject(memory, old);
    }
    if (memory) ::DeleteDC(memory);
    return picture;
}

void DrawPointerInto(HBITMAP picture, HDC display, const PixelRect& area) {
    HDC memory = ::CreateCompatibleDC(display);
    if (!memory) return;
    HGDIOBJ old = ::SelectObject(memory, picture);
    ScreenArea::DrawPointer(memory, {area.left, area.top});
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}

void ReplaceImage(CBitmap* target, HBITMAP picture) {
    if (!target) {
        if (picture) ::DeleteObject(picture);
        return;
    }
    target->DeleteObject();
    target->Attach(picture);
}

}  // namespace AgentSupport
