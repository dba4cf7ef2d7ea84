#include "capture/foreground.h"

void ForceForeground(HWND window) {
    HWND current = ::GetForegroundWindow();
    DWORD thatThread = ::GetWindowThreadProcessId(current, nullptr);
    DWORD thisThread = ::GetCurrentThreadId();
    ::AttachThreadInput(thisThread, thatThread, TRUE);
    ::SetForegroundWindow(window);
    ::AttachThreadInput(thisThread, thatThread, FALSE);
}

void BringEditorForward(HWND frame) {
    ::ShowWindow(frame, SW_SHOWNORMAL);
    ::SetWindowPos(frame, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE);
    ::SetWindowPos(frame, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE);
    ::SetForegroundWindow(frame);
    ForceForeground(frame);
}
