#include "capture/foreground.h"

#include <cstring>

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

namespace {

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM found) {
    char className[16] = "";
    ::GetClassNameA(window, className, sizeof className);
    if (!::IsWindowVisible(window) || std::strcmp(className, "#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

}  // namespace

HWND WaitingDialog(HWND frame) {
    if (frame && !::IsWindowEnabled(frame)) return ::GetLastActivePopup(frame);
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}
