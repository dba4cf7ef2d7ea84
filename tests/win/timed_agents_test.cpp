// The timed agents (Fennick, Torvel) with another process using the same library at the same time.
// Their data section is shared between processes: another program's start writes its own window
// and bitmap pointer there. Our run must still report to our window and fill our bitmap object.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "agents/agents.h"
#include "agents/support/agent_support.h"
#include "framework/gdi.h"

namespace {

struct TimedAgent {
    const char* name;
    void (*install)(HWND, CBitmap*);
    void (*uninstall)();
};

const TimedAgent kFennick{"Fennick", InstallFennick, UninstallFennick};
const TimedAgent kTorvel{"Torvel", InstallTorvel, UninstallTorvel};

// The library's shared section as this process sees it, found through the loaded image's headers.
const volatile AgentSupport::SharedTarget* SharedSection(const char* library) {
    auto* base = reinterpret_cast<const BYTE*>(::GetModuleHandleA((std::string(library) + ".dll").c_str()));
    if (!base) return nullptr;
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
        if (std::strncmp(reinterpret_cast<const char*>(section->Name), "mydata", IMAGE_SIZEOF_SHORT_NAME) == 0)
            return reinterpret_cast<const volatile AgentSupport::SharedTarget*>(base + section->VirtualAddress);
    return nullptr;
}

// Every WM_CAPTURE_DONE that reached our window.
int g_reports = 0;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CAPTURE_DONE) ++g_reports;
    return ::DefWindowProcA(window, message, wParam, lParam);
}

template <class Condition>
bool PumpUntil(Condition done, DWORD timeout) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeout) return false;
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::Sleep(5);
    }
    return true;
}

class TimedAgentBesideAnotherProcess : public testing::TestWithParam<TimedAgent> {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "TimedAgentReceiver";
        ::RegisterClassA(&wc);
        // Visible and in front: Torvel takes the foreground window.
        receiver = ::CreateWindowExA(0, "TimedAgentReceiver", "receiver", WS_POPUP | WS_VISIBLE, 100, 100, 200,
                                     150, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(receiver, nullptr);
        ::SetForegroundWindow(receiver);
        g_reports = 0;
    }
    void TearDown() override {
        if (neighbour.hProcess) {
            ::WaitForSingleObject(neighbour.hProcess, 10000);
            ::CloseHandle(neighbour.hProcess);
            ::CloseHandle(neighbour.hThread);
        }
        if (receiver) ::DestroyWindow(receiver);
    }

    // Starts agent_neighbour.exe and waits until its run has started (its start has written the
    // shared section).
    bool StartNeighbour(const char* agent) {
        const std::string eventName = std::string("TimedAgentNeighbour") + agent;
        HANDLE started = ::CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
        std::string command = std::string("agent_neighbour.exe ") + agent + " " + eventName;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        bool ok = ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                   &neighbour) &&
                  ::WaitForSingleObject(started, 10000) == WAIT_OBJECT_0;
        ::CloseHandle(started);
        return ok;
    }

    DWORD NeighbourExitCode() {
        DWORD code = 0xDEAD;
        if (::WaitForSingleObject(neighbour.hProcess, 10000) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(neighbour.hProcess, &code);
        return code;
    }

    HWND receiver = nullptr;
    PROCESS_INFORMATION neighbour{};
};

TEST_P(TimedAgentBesideAnotherProcess, OurRunReportsToUsAndFillsOurBitmap) {
    const TimedAgent& agent = GetParam();
    const volatile AgentSupport::SharedTarget* shared = SharedSection(agent.name);
    ASSERT_NE(shared, nullptr) << agent.name << " has no mydata section";

    CBitmap picture;
    agent.install(receiver, &picture);
    EXPECT_EQ(shared->window, receiver);
    EXPECT_EQ(shared->ownerProcess, ::GetCurrentProcessId());

    // Our message loop has not run yet, so our timer has not fired: whatever the agent posts
    // from here on is decided after the other process's start.
    ASSERT_TRUE(StartNeighbour(agent.name));
    ASSERT_EQ(shared->ownerProcess, neighbour.dwProcessId)
        << "the section is not shared between processes here: this test shows nothing";
    EXPECT_NE(shared->window, receiver);

    EXPECT_TRUE(PumpUntil([] { return g_reports > 0; }, 3000)) << "our report went elsewhere";
    agent.uninstall();
    BITMAP bm{};
    ASSERT_NE(picture.GetSafeHandle(), nullptr) << "our bitmap object got no picture";
    ASSERT_TRUE(::GetObjectA(picture.GetSafeHandle(), sizeof bm, &bm));
    EXPECT_GT(bm.bmWidth, 0);
    EXPECT_GT(bm.bmHeight, 0);

    // Both runs overlapped; the other one got its own report and picture too.
    EXPECT_EQ(NeighbourExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Agents, TimedAgentBesideAnotherProcess, testing::Values(kFennick, kTorvel),
                         [](const testing::TestParamInfo<TimedAgent>& info) { return std::string(info.param.name); });

}  // namespace
