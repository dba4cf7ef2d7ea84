#include "capture/foreground.h"

void ForceForeground(HWND window) {
    HWND current = ::GetForegroundWindow();
    DWORD thatThread = ::GetWindowThreadProcessId(current, nullptr);
    DWORD thisThread = ::GetCurrentThreadId();
    ::AttachThreadInput(thisThread, thatThread, TRUE);
    ::SetForegroundWindow(window);
    ::AttachThreadInput(thisThread, thatThread, FALSE);
}
