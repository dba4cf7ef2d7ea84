// The window agent (Plimsey) and the rectangle agent (Osgrave), driven the way a user drives them:
// real mouse and key input over a screen showing a window of known colours with a button at a
// known place. Each picture is checked pixel by pixel against the screen as it stood at the start.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "agents/agents.h"
#include "framework/gdi.h"

namespace {

// ---- the screen the user sees ---------------------------------------------------------------

constexpr COLORREF kWindowColour = RGB(0, 96, 200);
constexpr COLORREF kButtonColour = RGB(250, 210, 0);
constexpr COLORREF kButtonEdge = RGB(0, 140, 60);  // a one-pixel edge: an off-by-one shows at once
const RECT kWindowOnScreen{60, 40, 380, 260};      // a borderless window: client = window
const RECT kButtonInWindow{30, 20, 150, 60};
const RECT kButtonOnScreen{90, 60, 210, 100};

LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        CBrush edge(kButtonEdge), face(kButtonColour);
        ::FillRect(item->hDC, &item->rcItem, edge);
        RECT inner = item->rcItem;
        ::InflateRect(&inner, -1, -1);
        ::FillRect(item->hDC, &inner, face);
        return TRUE;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// What the agents report to: every WM_CAPTURE_DONE, in order.
struct Report {
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Report> g_reports;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CAPTURE_DONE) g_reports.push_back({wParam, lParam});
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// ---- pixels ---------------------------------------------------------------------------------

struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> rgb;  // top-down rows, 0x00RRGGBB
    uint32_t At(int x, int y) const { return rgb[y * width + x]; }
};

Pixels ReadBitmap(HBITMAP bitmap) {
    Pixels p;
    BITMAP bm{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm)) return p;
    p.width = bm.bmWidth;
    p.height = bm.bmHeight;
    p.rgb.resize(static_cast<size_t>(p.width) * p.height);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), p.width, -p.height, 1, 32, BI_RGB};
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, p.height, p.rgb.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    for (uint32_t& v : p.rgb) v &= 0xFFFFFF;
    return p;
}

Pixels GrabScreen() {
    HDC screen = ::GetDC(nullptr);
    int width = ::GetDeviceCaps(screen, HORZRES), height = ::GetDeviceCaps(screen, VERTRES);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP copy = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, copy);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    Pixels p = ReadBitmap(copy);
    ::DeleteObject(copy);
    return p;
}

Pixels Crop(const Pixels& from, const RECT& r) {
    Pixels p;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) p.rgb.push_back(from.At(x, y));
    return p;
}

// Equal size and every pixel equal; says where the first difference is.
testing::AssertionResult SamePicture(const Pixels& actual, const Pixels& expected) {
    if (actual.width != expected.width || actual.height != expected.height)
        return testing::AssertionFailure() << "size " << actual.width << "x" << actual.height
                                           << ", expected " << expected.width << "x" << expected.height;
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            if (actual.At(x, y) != expected.At(x, y) && differing++ == 0) {
                firstX = x;
                firstY = y;
            }
    if (differing == 0) return testing::AssertionSuccess();
    return testing::AssertionFailure() << differing << " pixels differ, the first at (" << firstX << ","
                                       << firstY << "): " << std::hex << actual.At(firstX, firstY)
                                       << " instead of " << expected.At(firstX, firstY);
}

// ---- input and the message loop -------------------------------------------------------------

// The agents work on our message loop, as on the program's.
void Pump(DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

template <class Condition>
bool PumpUntil(Condition done, DWORD timeout = 5000) {
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeout) return false;
        Pump(10);
    }
    return true;
}

void Send(INPUT input) { ::SendInput(1, &input, sizeof input); }

POINT Pointer() {
    POINT p{};
    ::GetCursorPos(&p);
    return p;
}

// Moves the pointer as the mouse does. Absolute coordinates run from 0 to 65535 over the screen;
// aim at the middle of the pixel, so that either way of rounding lands on it.
//
// Under Wine a move travels through the X server, and a late report of an earlier position can
// put the pointer back where it was; so the move is repeated until the pointer stays put.
void MoveTo(int x, int y) {
    int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (2 * x + 1) * 65536 / (2 * width);
    in.mi.dy = (2 * y + 1) * 65536 / (2 * height);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    auto there = [x, y] { return Pointer().x == x && Pointer().y == y; };
    for (int attempt = 0; attempt < 5; ++attempt) {
        Send(in);
        bool landed = PumpUntil(there, 300);
        Pump(40);
        if (landed && there()) return;
    }
    ADD_FAILURE() << "the pointer does not stay at " << x << "," << y;
}

void Button(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    Send(in);
    Pump(30);
}

void Click(DWORD down, DWORD up) {
    Button(down);
    Button(up);
}

void Key(WORD key) {
    bool extended = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = key;
    in.ki.dwFlags = extended ? KEYEVENTF_EXTENDEDKEY : 0;
    Send(in);
    in.ki.dwFlags |= KEYEVENTF_KEYUP;
    Send(in);
    Pump(30);
}

// ---- the agents under test ------------------------------------------------------------------

struct Agent {
    const char* name;
    void (*install)(HWND, CBitmap*);
    void (*uninstall)();
};
const Agent kPlimsey{"Plimsey", InstallPlimsey, UninstallPlimsey};
const Agent kOsgrave{"Osgrave", InstallOsgrave, UninstallOsgrave};

HWND g_overlay = nullptr;

BOOL CALLBACK FindOverlay(HWND window, LPARAM fixture) {
    if (window != reinterpret_cast<HWND>(fixture) && ::IsWindowVisible(window)) {
        g_overlay = window;
        return FALSE;
    }
    return TRUE;
}

class InteractiveAgentsTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        HINSTANCE instance = ::GetModuleHandleA(nullptr);
        WNDCLASSA fixtureClass{};
        fixtureClass.lpfnWndProc = FixtureProc;
        fixtureClass.hInstance = instance;
        fixtureClass.hbrBackground = ::CreateSolidBrush(kWindowColour);
        fixtureClass.lpszClassName = "AgentsTestFixture";
        ::RegisterClassA(&fixtureClass);
        WNDCLASSA receiverClass{};
        receiverClass.lpfnWndProc = ReceiverProc;
        receiverClass.hInstance = instance;
        receiverClass.lpszClassName = "AgentsTestReceiver";
        ::RegisterClassA(&receiverClass);

        const RECT& w = kWindowOnScreen;
        fixture = ::CreateWindowExA(0, "AgentsTestFixture", "Fixture", WS_POPUP | WS_VISIBLE, w.left, w.top,
                                    w.right - w.left, w.bottom - w.top, nullptr, nullptr, instance, nullptr);
        const RECT& b = kButtonInWindow;
        button = ::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, b.left, b.top,
                                   b.right - b.left, b.bottom - b.top, fixture, nullptr, instance, nullptr);
        // The hidden window of the program that started the agent: reports only.
        receiver = ::CreateWindowExA(0, "AgentsTestReceiver", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     instance, nullptr);
        Pump(300);
    }
    static void TearDownTestSuite() {
        ::DestroyWindow(fixture);
        ::DestroyWindow(receiver);
    }

    void SetUp() override {
        ASSERT_TRUE(fixture && button && receiver);
        g_reports.clear();
        MoveTo(700, 500);  // over the bare desktop, away from everything
        Pump(200);         // whatever the last overlay covered has repainted
        screenAtStart = GrabScreen();
        // The caller's bitmap object already holds an image, as after an earlier capture.
        HDC screen = ::GetDC(nullptr);
        bitmap.CreateCompatibleBitmap(screen, 7, 5);
        ::ReleaseDC(nullptr, screen);
        previousImage = bitmap.GetSafeHandle();
    }

    // Starts the agent and waits for its overlay to come up.
    HWND Start(const Agent& agent) {
        agent.install(receiver, &bitmap);
        g_overlay = nullptr;
        PumpUntil([] {
            ::EnumThreadWindows(::GetCurrentThreadId(), FindOverlay, reinterpret_cast<LPARAM>(fixture));
            return g_overlay != nullptr;
        });
        Pump(50);
        return g_overlay;
    }

    // Waits for the one report, then finishes the agent the way the program does.
    Report Finish(const Agent& agent) {
        bool reported = PumpUntil([] { return !g_reports.empty(); });
        agent.uninstall();
        Pump(50);
        if (!reported) return {0xDEAD, 0xDEAD};
        EXPECT_EQ(g_reports.size(), 1u);
        return g_reports.front();
    }

    // The picture the agent left, and that it replaced the previous image by the rules.
    Pixels Picture() {
        EXPECT_NE(bitmap.GetSafeHandle(), previousImage);
        EXPECT_EQ(::GetObjectType(previousImage), 0u) << "the previous image was not destroyed";
        return ReadBitmap(bitmap);
    }

    static HWND fixture, button, receiver;
    CBitmap bitmap;
    HGDIOBJ previousImage = nullptr;
    Pixels screenAtStart;
};
HWND InteractiveAgentsTest::fixture = nullptr;
HWND InteractiveAgentsTest::button = nullptr;
HWND InteractiveAgentsTest::receiver = nullptr;

TEST_F(InteractiveAgentsTest, OverlayCoversTheScreenOnTopWithTheKeyboardAndNoTaskbarButton) {
    for (const Agent* agent : {&kPlimsey, &kOsgrave}) {
        SCOPED_TRACE(agent->name);
        g_reports.clear();
        HWND overlay = Start(*agent);
        ASSERT_NE(overlay, nullptr);
        RECT r{};
        ::GetWindowRect(overlay, &r);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, screenAtStart.width);
        EXPECT_EQ(r.bottom, screenAtStart.height);
        LONG style = ::GetWindowLongA(overlay, GWL_STYLE), exStyle = ::GetWindowLongA(overlay, GWL_EXSTYLE);
        EXPECT_TRUE(style & WS_POPUP);
        EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
        EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
        EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
        EXPECT_EQ(::GetForegroundWindow(), overlay);
        EXPECT_EQ(::GetFocus(), overlay);
        EXPECT_TRUE(g_reports.empty()) << "reported before the user chose anything";
        Key(VK_ESCAPE);
        Finish(*agent);
        EXPECT_FALSE(::IsWindow(overlay));
    }
}

TEST_F(InteractiveAgentsTest, PlimseyClickOnAButtonGivesExactlyTheButtonWithoutTheOverlay) {
    HWND overlay = Start(kPlimsey);
    ASSERT_NE(overlay, nullptr);
    const RECT& b = kButtonOnScreen;
    MoveTo((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    Pump(100);
    // The button is framed on the screen now: its corner pixel is not the button's own.
    Pixels live = GrabScreen();
    EXPECT_NE(live.At(b.left + 1, b.top + 1), screenAtStart.At(b.left + 1, b.top + 1));
    EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_ARROW));

    Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    Report report = Finish(kPlimsey);
    EXPECT_EQ(report.wParam, kCapturePictureReady);
    EXPECT_EQ(report.lParam, 0);
    EXPECT_FALSE(::IsWindow(overlay));
    EXPECT_TRUE(SamePicture(Picture(), Crop(screenAtStart, b)));
}

TEST_F(InteractiveAgentsTest, PlimseyTakesTheWindowsAsTheyStoodWhenTheScreenWasFrozen) {
    HWND overlay = Start(kPlimsey);
    ASSERT_NE(overlay, nullptr);
    // The window moves away under the overlay; the user still sees, and gets, the frozen one.
    ::SetWindowPos(fixture, nullptr, 500, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump(100);
    const RECT& b = kButtonOnScreen;
    MoveTo(b.left + 5, b.bottom - 5);
    Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    Report report = Finish(kPlimsey);
    ::SetWindowPos(fixture, nullptr, kWindowOnScreen.left, kWindowOnScreen.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(report.wParam, kCapturePictureReady);
    EXPECT_TRUE(SamePicture(Picture(), Crop(screenAtStart, b)));
}

TEST_F(InteractiveAgentsTest, PlimseyOverTheWindowButBesideTheButtonTakesTheWindow) {
    Start(kPlimsey);
    MoveTo(kWindowOnScreen.right - 10, kWindowOnScreen.bottom - 10);
    Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(Finish(kPlimsey).wParam, kCapturePictureReady);
    EXPECT_TRUE(SamePicture(Picture(), Crop(screenAtStart, kWindowOnScreen)));
}

TEST_F(InteractiveAgentsTest, OsgraveDragGivesTheExactRectangleBothWays) {
    const RECT dragged{10, 10, 110, 60};  // (10,10) to (109,59), both ends included
    for (bool backwards : {false, true}) {
        SCOPED_TRACE(backwards ? "dragged backwards" : "dragged forwards");
        g_reports.clear();
        HDC screen = ::GetDC(nullptr);
        bitmap.CreateCompatibleBitmap(screen, 7, 5);
        ::ReleaseDC(nullptr, screen);
        previousImage = bitmap.GetSafeHandle();

        HWND overlay = Start(kOsgrave);
        ASSERT_NE(overlay, nullptr);
        POINT from{10, 10}, to{109, 59};
        if (backwards) std::swap(from, to);
        MoveTo(from.x, from.y);
        EXPECT_EQ(::GetCursor(), ::LoadCursor(nullptr, IDC_CROSS));
        Button(MOUSEEVENTF_LEFTDOWN);
        MoveTo(60, 30);
        MoveTo(to.x, to.y);
        Pump(100);
        // The rectangle is framed just outside its edge while the button is held.
        Pixels live = GrabScreen();
        EXPECT_NE(live.At(9, 35), screenAtStart.At(9, 35));
        EXPECT_TRUE(g_reports.empty());
        Button(MOUSEEVENTF_LEFTUP);
        Report report = Finish(kOsgrave);
        EXPECT_EQ(report.wParam, kCapturePictureReady);
        EXPECT_FALSE(::IsWindow(overlay));
        EXPECT_TRUE(SamePicture(Picture(), Crop(screenAtStart, dragged)));
    }
}

TEST_F(InteractiveAgentsTest, OsgraveClickWithoutDragKeepsWaitingAndTheKeyboardChoosesPixelExactly) {
    HWND overlay = Start(kOsgrave);
    ASSERT_NE(overlay, nullptr);
    MoveTo(300, 300);
    Click(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    Pump(200);
    EXPECT_TRUE(g_reports.empty()) << "a click without a drag ended the capture";
    EXPECT_TRUE(::IsWindowVisible(overlay));

    // Across the window's top-left corner: Enter, three right, three down, Enter.
    MoveTo(58, 38);
    Key(VK_RETURN);
    for (int i = 0; i < 3; ++i) Key(VK_RIGHT);
    for (int i = 0; i < 3; ++i) Key(VK_DOWN);
    // The arrows moved the system's pointer too, not only the corner.
    EXPECT_TRUE(PumpUntil([] { return Pointer().x == 61 && Pointer().y == 41; }, 1000));
    Key(VK_RETURN);
    Report report = Finish(kOsgrave);
    EXPECT_EQ(report.wParam, kCapturePictureReady);
    Pixels picture = Picture();
    EXPECT_TRUE(SamePicture(picture, Crop(screenAtStart, RECT{58, 38, 62, 42})));
    if (picture.width == 4 && picture.height == 4) {
        EXPECT_EQ(picture.At(3, 3), static_cast<uint32_t>(0x0060C8)) << "the window's own colour";
    }
}

TEST_F(InteractiveAgentsTest, EscOrRightClickCancelsAndLeavesTheBitmapAsItWas) {
    struct Way {
        const char* name;
        void (*cancel)();
    };
    const Way ways[] = {
        {"Esc", [] { Key(VK_ESCAPE); }},
        {"right click", [] { Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }},
        {"right click during a drag", [] {
             MoveTo(200, 200);
             Button(MOUSEEVENTF_LEFTDOWN);
             MoveTo(250, 260);
             Click(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
             Button(MOUSEEVENTF_LEFTUP);
         }},
    };
    DWORD gdiObjectsBefore = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    for (const Agent* agent : {&kPlimsey, &kOsgrave}) {
        for (const Way& way : ways) {
            SCOPED_TRACE(std::string(agent->name) + ", " + way.name);
            g_reports.clear();
            HWND overlay = Start(*agent);
            ASSERT_NE(overlay, nullptr);
            MoveTo(kButtonOnScreen.left + 10, kButtonOnScreen.top + 10);
            way.cancel();
            Report report = Finish(*agent);
            EXPECT_EQ(report.wParam, kCaptureNothingToDeliver);
            EXPECT_EQ(report.lParam, 0);
            EXPECT_FALSE(::IsWindow(overlay));
            EXPECT_EQ(bitmap.GetSafeHandle(), previousImage);
            EXPECT_EQ(bitmap.GetSize(), CSize(7, 5));
        }
    }
    // Six runs from start to finish leave no device context or bitmap behind (where the system
    // counts them at all).
    if (gdiObjectsBefore) {
        EXPECT_EQ(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS), gdiObjectsBefore);
    }
}

}  // namespace
