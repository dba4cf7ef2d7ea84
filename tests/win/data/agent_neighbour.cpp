// A second program using a timed agent at the same time as the test: it starts a run of Fennick
// or Torvel with a window and a bitmap object of its own, says so through a named event, and
// finishes the run when its report comes. Exit code 0: it got its report and its picture.
//
//     agent_neighbour.exe Fennick|Torvel EVENT-NAME
#include <windows.h>

#include <cstring>

#include "agents/agents.h"
#include "framework/gdi.h"

namespace {

enum Exit { kGotPicture = 0, kUsage = 1, kNoPicture = 2, kNoReport = 3 };

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return kUsage;
    const bool fennick = std::strcmp(argv[1], "Fennick") == 0;
    if (!fennick && std::strcmp(argv[1], "Torvel") != 0) return kUsage;
    HANDLE started = ::OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (!started) return kUsage;

    HWND window = ::CreateWindowA("STATIC", "agent neighbour", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    static CBitmap bitmap;
    if (fennick) InstallFennick(window, &bitmap);
    else InstallTorvel(window, &bitmap);
    ::SetEvent(started);

    const DWORD deadline = ::GetTickCount() + 5000;
    MSG msg;
    while (::GetTickCount() < deadline) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::Sleep(5);
            continue;
        }
        if (msg.message == WM_CAPTURE_DONE && msg.hwnd == window) {
            if (fennick) UninstallFennick();
            else UninstallTorvel();
            return bitmap.GetSafeHandle() ? kGotPicture : kNoPicture;
        }
        ::DispatchMessageA(&msg);
    }
    return kNoReport;
}
