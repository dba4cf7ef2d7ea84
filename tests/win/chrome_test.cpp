// The window chrome on real windows: the notification-area icon and its menu, the hyperlink static,
// the Exit dialog, and the pointing-hand cursor.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "chrome/exit_dialog.h"
#include "chrome/static_ex.h"
#include "chrome/system_tray.h"
#include "framework/framework.h"
#include "res/resource.h"

namespace {

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("ChromeTest") {}
};
TestApp theTestApp;

constexpr UINT kCallback = WM_USER + 10;

// ---- helpers -------------------------------------------------------------------------------------

// A plain top-level window of our framework (so it passes colouring and clicks back to its
// controls) that records the commands it receives.
class OwnerWindow : public CWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> commands;

    OwnerWindow() {
        EXPECT_TRUE(CreateEx(0, nullptr, "Chrome test owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400, 200,
                             nullptr, 0));
    }
    ~OwnerWindow() override { DestroyWindow(); }

    bool OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (lParam == 0) commands.emplace_back(wParam, lParam);
        return CWnd::OnCommand(wParam, lParam);
    }
};

void PumpMessages() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Whether the taskbar holds the icon: a modify that changes nothing succeeds only for an icon there.
bool IconPresent(HWND owner, UINT id) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = id;
    return ::Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

// Runs `inspect` from inside whatever modal loop the thread enters next (a popup menu, a message
// box, a dialog), every 100 ms until it reports that it found what it looks for. A loop still
// running after 20 s is ended, so that a failing test fails instead of hanging.
class InsideModalLoop {
public:
    using Inspect = bool (*)(void* context);
    InsideModalLoop(Inspect inspect, void* context) {
        s_inspect = inspect;
        s_context = context;
        s_deadline = ::GetTickCount() + 20000;
        s_gaveUp = false;
        s_timer = ::SetTimer(nullptr, 0, 100, &InsideModalLoop::OnTimer);
    }
    ~InsideModalLoop() { Stop(); }
    static bool GaveUp() { return s_gaveUp; }

private:
    static void Stop() {
        if (s_timer) ::KillTimer(nullptr, s_timer);
        s_timer = 0;
        s_inspect = nullptr;
    }
    static BOOL CALLBACK CloseDialog(HWND h, LPARAM) {
        char cls[16] = "";
        ::GetClassNameA(h, cls, sizeof cls);
        if (std::strcmp(cls, "#32770") == 0) ::PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (s_inspect) {
            Inspect inspect = s_inspect;
            s_inspect = nullptr;  // no second call from inside the first
            if (!inspect(s_context)) s_inspect = inspect;
        }
        // Whatever the inspection did, the loop must end in time.
        if (s_timer && static_cast<LONG>(::GetTickCount() - s_deadline) > 0) {
            s_gaveUp = true;
            Stop();
            ::EndMenu();
            ::EnumThreadWindows(::GetCurrentThreadId(), CloseDialog, 0);
        }
    }
    static inline Inspect s_inspect = nullptr;
    static inline void* s_context = nullptr;
    static inline UINT_PTR s_timer = 0;
    static inline DWORD s_deadline = 0;
    static inline bool s_gaveUp = false;
};

// The first visible top-level window of this thread with that class.
struct ClassSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchClass(HWND h, LPARAM p) {
    auto* search = reinterpret_cast<ClassSearch*>(p);
    char cls[32] = "";
    ::GetClassNameA(h, cls, sizeof cls);
    if (std::strcmp(cls, search->className) != 0 || !::IsWindowVisible(h)) return TRUE;
    search->found = h;
    return FALSE;
}

HWND ThreadWindowOfClass(const char* className) {
    ClassSearch search{className, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct MenuEntry {
    UINT id;
    std::string text;  // "-" for a separator
    bool isDefault;
    bool popup;
};

std::vector<MenuEntry> ReadMenu(HMENU menu) {
    std::vector<MenuEntry> entries;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        ::GetMenuItemInfoA(menu, i, TRUE, &info);
        const bool separator = (info.fType & MFT_SEPARATOR) != 0;
        entries.push_back({info.hSubMenu ? 0 : info.wID, separator ? "-" : text, (info.fState & MFS_DEFAULT) != 0,
                           info.hSubMenu != nullptr});
    }
    return entries;
}

// A tray whose record a test may look at.
class InspectableTray : public CSystemTray {
public:
    const NOTIFYICONDATAA& Record() const { return notifyData; }
};

// ---- the notification-area icon ------------------------------------------------------------------

TEST(SystemTrayTest, ChangeAndDeleteNeedTheIconInTheTaskbar) {
    CSystemTray tray;
    EXPECT_FALSE(tray.ChangeIcon(::LoadIconA(nullptr, IDI_APPLICATION)));
    EXPECT_FALSE(tray.ChangeIcon(static_cast<UINT>(IDR_MAINFRAME)));
    EXPECT_FALSE(tray.DeleteIcon());
    EXPECT_FALSE(tray.RestoreIcon());

    EXPECT_FALSE(tray.AddIcon(nullptr, kCallback, "Tessaly Screen Capture", nullptr, IDR_TRAYMENU));
    CWnd gone;
    ASSERT_TRUE(gone.CreateEx(0, nullptr, "gone", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, 0));
    HWND stale = gone.m_hWnd;
    gone.DestroyWindow();
    gone.m_hWnd = stale;  // an object whose window no longer exists
    EXPECT_FALSE(tray.AddIcon(&gone, kCallback, "Tessaly Screen Capture", nullptr, IDR_TRAYMENU));
    gone.m_hWnd = nullptr;
    EXPECT_FALSE(tray.IsPresent());
    EXPECT_FALSE(tray.ChangeIcon(::LoadIconA(nullptr, IDI_APPLICATION)));
}

TEST(SystemTrayTest, AddChangeDeleteAndARestartedShell) {
    OwnerWindow owner;
    InspectableTray tray;
    ASSERT_TRUE(tray.AddIcon(&owner, kCallback, "Tessaly Screen Capture", nullptr, IDR_TRAYMENU));
    EXPECT_TRUE(IconPresent(owner, IDR_TRAYMENU));
    EXPECT_EQ(tray.Record().uCallbackMessage, kCallback);
    EXPECT_STREQ(tray.Record().szTip, "Tessaly Screen Capture");
    HICON icon = ::LoadIconA(nullptr, IDI_APPLICATION);
    EXPECT_TRUE(tray.ChangeIcon(icon));
    EXPECT_EQ(tray.Record().hIcon, icon);

    // The shell loses every icon when it restarts; the announcement puts ours back as it was.
    NOTIFYICONDATAA lost{};
    lost.cbSize = NOTIFYICONDATAA_V1_SIZE;
    lost.hWnd = owner;
    lost.uID = IDR_TRAYMENU;
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &lost));
    EXPECT_FALSE(IconPresent(owner, IDR_TRAYMENU));
    EXPECT_TRUE(tray.RestoreIcon());
    EXPECT_TRUE(IconPresent(owner, IDR_TRAYMENU));
    EXPECT_EQ(tray.Record().hIcon, icon);
    // The announcement may also come while the shell still has the icon: it stays ours.
    EXPECT_TRUE(tray.RestoreIcon());
    EXPECT_TRUE(tray.IsPresent());
    EXPECT_TRUE(IconPresent(owner, IDR_TRAYMENU));

    EXPECT_TRUE(tray.DeleteIcon());
    EXPECT_FALSE(IconPresent(owner, IDR_TRAYMENU));
    EXPECT_FALSE(tray.DeleteIcon());
    EXPECT_FALSE(tray.ChangeIcon(icon));
    EXPECT_FALSE(tray.RestoreIcon()) << "an icon taken out on purpose must stay out";
    EXPECT_FALSE(IconPresent(owner, IDR_TRAYMENU));
}

TEST(SystemTrayTest, TooLongTooltipIsCutToItsBuffer) {
    OwnerWindow owner;
    InspectableTray tray;
    const std::string longTip(100, 't');
    ASSERT_TRUE(tray.AddIcon(&owner, kCallback, longTip.c_str(), nullptr, IDR_TRAYMENU));
    EXPECT_EQ(std::string(tray.Record().szTip), std::string(63, 't'));
    EXPECT_TRUE(tray.DeleteIcon());
}

TEST(SystemTrayTest, DestructionTakesTheIconAway) {
    OwnerWindow owner;
    {
        CSystemTray tray;
        ASSERT_TRUE(tray.AddIcon(&owner, kCallback, "Tessaly Screen Capture", nullptr, IDR_TRAYMENU));
    }
    EXPECT_FALSE(IconPresent(owner, IDR_TRAYMENU));
}

TEST(SystemTrayTest, MouseMessagesOnTheIcon) {
    OwnerWindow owner;
    CSystemTray tray;
    ASSERT_TRUE(tray.AddIcon(&owner, kCallback, "Tessaly Screen Capture", nullptr, IDR_TRAYMENU));

    // Another icon's callback changes nothing; moves and single clicks do nothing.
    EXPECT_EQ(tray.OnIconNotify(IDR_TRAYMENU + 1, WM_LBUTTONDBLCLK), 0);
    EXPECT_EQ(tray.OnIconNotify(IDR_TRAYMENU, WM_MOUSEMOVE), 1);
    EXPECT_EQ(tray.OnIconNotify(IDR_TRAYMENU, WM_LBUTTONDOWN), 1);
    EXPECT_EQ(tray.OnIconNotify(IDR_TRAYMENU, WM_LBUTTONUP), 1);
    PumpMessages();
    EXPECT_TRUE(owner.commands.empty());

    // A double-click sends the fifth entry's command, "&Edit...".
    EXPECT_EQ(tray.OnIconNotify(IDR_TRAYMENU, WM_LBUTTONDBLCLK), 1);
    ASSERT_EQ(owner.commands.size(), 1u);
    EXPECT_EQ(owner.commands[0].first, static_cast<WPARAM>(ID_SHOW_EDITOR));
    EXPECT_EQ(::GetForegroundWindow(), owner.m_hWnd);
}

struct OpenMenu {
    std::vector<MenuEntry> entries;
    std::vector<MenuEntry> captureEntries;
    bool found = false;
};

TEST(SystemTrayTest, RightClickShowsTheWholeMenuAndDismissingSendsNothing) {
    OwnerWindow owner;
    CSystemTray tray;
    ASSERT_TRUE(tray.AddIcon(&owner, kCallback, "Tessaly Screen Capture", nullptr, IDR_TRAYMENU));

    OpenMenu seen;
    InsideModalLoop inspect(
        [](void* context) {
            auto* seen = static_cast<OpenMenu*>(context);
            HWND popup = ThreadWindowOfClass("#32768");
            HMENU menu = popup ? reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
            if (!menu) return false;
            seen->found = true;
            seen->entries = ReadMenu(menu);
            seen->captureEntries = ReadMenu(::GetSubMenu(menu, 2));
            ::EndMenu();  // as if the user clicked elsewhere
            return true;
        },
        &seen);
    EXPECT_EQ(tray.OnIconNotify(IDR_TRAYMENU, WM_RBUTTONUP), 1);
    ASSERT_TRUE(seen.found) << "no popup menu was open";

    const std::vector<std::pair<UINT, std::string>> expected = {
        {ID_SETTING_CAPTURE_CONFIGURE, "&Configure..."}, {0, "-"}, {0, "Ca&pture"},
        {ID_FILE_OPEN_IMAGE, "&Open..."}, {ID_SHOW_EDITOR, "&Edit..."}, {ID_FILE_SAVE_IMAGE, "&Save As..."},
        {ID_EDIT_CLEAR_IMAGE, "C&lear"}, {0, "-"}, {ID_HELP, "&Help"}, {ID_APP_ABOUT, "&About..."}, {0, "-"},
        {ID_APP_EXIT, "E&xit"}};
    ASSERT_EQ(seen.entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(seen.entries[i].id, expected[i].first) << i;
        EXPECT_EQ(seen.entries[i].text, expected[i].second) << i;
        EXPECT_EQ(seen.entries[i].isDefault, i == 0) << "only \"&Configure...\" is the default (bold): " << i;
    }
    EXPECT_TRUE(seen.entries[2].popup);
    const std::vector<std::pair<UINT, std::string>> capture = {
        {ID_CAPTURE_DEFAULT, "&Default"}, {0, "-"}, {ID_CAPTURE_FULL_SCREEN, "&Full Screen/Virtual Desktop"},
        {ID_CAPTURE_ACTIVE_WINDOW, "&Active Window"}, {ID_CAPTURE_WINDOW_CONTROL, "&Window, Button, Control"},
        {ID_CAPTURE_RECTANGLE, "&Rectangle Area"}, {ID_CAPTURE_MONITOR, "&Monitor under the Pointer"}, {0, "-"},
        {ID_CAPTURE_DIRECTX_NOTE, "DirectX Full Screen/Screen"}, {0, "-"}, {0, "De&lay before capture"}};
    ASSERT_EQ(seen.captureEntries.size(), capture.size());
    for (size_t i = 0; i < capture.size(); ++i) {
        EXPECT_EQ(seen.captureEntries[i].id, capture[i].first) << i;
        EXPECT_EQ(seen.captureEntries[i].text, capture[i].second) << i;
    }

    // The menu closed without a choice: no command reached the owner, and the null message that
    // lets a later menu close properly is on its way.
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, owner, WM_NULL, WM_NULL, PM_NOREMOVE));
    PumpMessages();
    EXPECT_TRUE(owner.commands.empty());
}

// ---- the hyperlink static --------------------------------------------------------------------------

class StaticExTest : public ::testing::Test {
protected:
    static constexpr UINT kId = 1029;
    OwnerWindow parent;
    CStaticEx link;

    void SetUp() override {
        HWND h = ::CreateWindowExA(0, "STATIC", "https://www.tessaly.example/", WS_CHILD | WS_VISIBLE | SS_LEFT,
                                   10, 10, 300, 20, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kId)),
                                   AfxGetResourceHandle(), nullptr);
        ASSERT_TRUE(h);
        ASSERT_TRUE(link.SubclassWindow(h));
    }

    void Paint() {
        ::RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        PumpMessages();
    }
    // What the control sets on a context when its parent asks it for colours.
    struct Colours {
        COLORREF text;
        COLORREF background;
        HBRUSH brush;
    };
    Colours AskColours() {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        ::ReleaseDC(nullptr, screen);
        Colours c{};
        c.brush = reinterpret_cast<HBRUSH>(::SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                          reinterpret_cast<LPARAM>(link.m_hWnd)));
        c.text = ::GetTextColor(dc);
        c.background = ::GetBkColor(dc);
        ::DeleteDC(dc);
        return c;
    }
    void Click() {
        ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(kId, STN_CLICKED), reinterpret_cast<LPARAM>(link.m_hWnd));
    }
    // Pixels of the control's window on screen that have exactly this colour.
    int PixelsOfColour(COLORREF colour) {
        Paint();
        RECT r;
        link.GetClientRect(&r);
        HDC dc = ::GetDC(link);
        int count = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (::GetPixel(dc, x, y) == colour) ++count;
        ::ReleaseDC(link, dc);
        return count;
    }
};

TEST_F(StaticExTest, WithoutTargetItIsNoLink) {
    Paint();
    EXPECT_EQ(link.GetStyle() & SS_NOTIFY, 0u) << "gained SS_NOTIFY without a link target";
    Colours c = AskColours();
    EXPECT_EQ(c.text, ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(c.background, ::GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(c.brush, nullptr);
    Click();
    EXPECT_FALSE(link.IsVisited());
}

TEST_F(StaticExTest, LinkColourAndLazyNotifyStyle) {
    EXPECT_EQ(link.SetLinkColor(0x00FF0000), ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(link.SetLinkColor(0x000000FF), 0x00FF0000u);
    EXPECT_EQ(link.SetLinkColor(0x00FF0000), 0x000000FFu);
    link.SetLinkTarget("https://www.tessaly.example/");
    EXPECT_EQ(link.GetStyle() & SS_NOTIFY, 0u);
    Paint();
    EXPECT_NE(link.GetStyle() & SS_NOTIFY, 0u) << "the first paint makes the link report clicks";
    EXPECT_EQ(AskColours().text, 0x00FF0000u);
    EXPECT_GT(PixelsOfColour(0x00FF0000), 0) << "the text is not drawn in the link colour";
}

TEST_F(StaticExTest, SuccessfulOpenShowsTheVisitedColourForGood) {
    link.SetLinkColor(0x00FF0000);
    // A program that opens and ends at once stands in for a web browser.
    link.SetLinkTarget("hostname.exe");
    Paint();
    Click();
    EXPECT_TRUE(link.IsVisited());
    EXPECT_EQ(AskColours().text, CStaticEx::kVisitedColor);
    EXPECT_GT(PixelsOfColour(CStaticEx::kVisitedColor), 0);
    EXPECT_EQ(PixelsOfColour(0x00FF0000), 0);
    link.SetLinkColor(0x000000FF);
    EXPECT_EQ(AskColours().text, CStaticEx::kVisitedColor) << "visited stays visited";
}

struct MessageBoxSeen {
    std::string text;
    std::string caption;
    bool found = false;
};

TEST_F(StaticExTest, FailedOpenSaysSoAndStaysUnvisited) {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    const std::string target = std::string(temp) + "no such link target.tessaly";
    ::DeleteFileA(target.c_str());
    link.SetLinkColor(0x00FF0000);
    link.SetLinkTarget(target);
    Paint();

    MessageBoxSeen seen;
    InsideModalLoop answer(
        [](void* context) {
            auto* seen = static_cast<MessageBoxSeen*>(context);
            HWND box = ThreadWindowOfClass("#32770");
            if (!box) return false;
            char text[512] = "", caption[128] = "";
            ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
            ::GetWindowTextA(box, caption, sizeof caption);
            seen->text = text;
            seen->caption = caption;
            seen->found = true;
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        },
        &seen);
    Click();
    ASSERT_TRUE(seen.found) << "no message box";
    EXPECT_EQ(seen.text, "Unable to open " + target + ".");
    EXPECT_EQ(seen.caption, "ChromeTest");
    EXPECT_FALSE(link.IsVisited());
    EXPECT_EQ(AskColours().text, 0x00FF0000u);
}

TEST_F(StaticExTest, PointerIsTheHandOnlyWhenAsked) {
    link.SetLinkTarget("https://www.tessaly.example/");
    const LPARAM over = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd), over), TRUE);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));

    link.handCursor = TRUE;
    HCURSOR hand = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_LINK_HAND));
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd), MAKELPARAM(HTBORDER, 0)), TRUE);
    EXPECT_EQ(::GetCursor(), hand);

    // Our own artwork: a monochrome 32x32 hand whose finger tip is the hot spot.
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 0u);
    EXPECT_EQ(info.yHotspot, 0u);
    EXPECT_EQ(info.hbmColor, nullptr) << "not monochrome";
    BITMAP mask{};
    ::GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(mask.bmHeight, 64);  // the AND and XOR planes one above the other
    ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
}

TEST_F(StaticExTest, OwnFontIsReplacedNotPiledUp) {
    link.SetOwnFont(-25, FW_BOLD, 0, "MS Sans Serif");
    HFONT first = link.OwnFont();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT)), first);

    link.SetOwnFont(-8, FW_BOLD, 0, "A face name far longer than the thirty-one characters a font may have");
    HFONT second = link.OwnFont();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(::GetObjectType(first), 0u) << "the previous font was not deleted";
    EXPECT_EQ(reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT)), second);
    LOGFONTA lf{};
    ASSERT_TRUE(::GetObjectA(second, sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, -8);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(std::strlen(lf.lfFaceName), 31u);
}

// ---- the Exit dialog -----------------------------------------------------------------------------------

struct ExitDialogSeen {
    HWND focus = nullptr;
    HWND cancel = nullptr;
    LRESULT defaultId = 0;
    HICON icon = nullptr;
    std::string caption;
};

TEST(ExitDialogTest, EnterCancels) {
    OwnerWindow owner;
    ExitDialogSeen seen;
    InsideModalLoop press(
        [](void* context) {
            auto* seen = static_cast<ExitDialogSeen*>(context);
            HWND dialog = ThreadWindowOfClass("#32770");
            if (!dialog) return false;
            char caption[64] = "";
            ::GetWindowTextA(dialog, caption, sizeof caption);
            seen->caption = caption;
            seen->focus = ::GetFocus();
            seen->cancel = ::GetDlgItem(dialog, IDCANCEL);
            seen->defaultId = LOWORD(::SendMessageA(dialog, DM_GETDEFID, 0, 0));
            seen->icon = reinterpret_cast<HICON>(::SendDlgItemMessageA(dialog, IDC_EXIT_ICON, STM_GETICON, 0, 0));
            // Enter as the keyboard gives it, through the dialog manager: to the control with the
            // focus, or to the dialog while this test program is not in front.
            HWND target = seen->focus && ::IsChild(dialog, seen->focus) ? seen->focus : dialog;
            ::PostMessageA(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            ::PostMessageA(target, WM_KEYUP, VK_RETURN, 0xC01C0001);
            return true;
        },
        &seen);
    CExitDlg dialog(&owner);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_FALSE(InsideModalLoop::GaveUp()) << "the dialog never showed";
    EXPECT_EQ(seen.caption, "Exit");
    EXPECT_EQ(seen.defaultId, IDCANCEL);
    if (seen.focus) {
        EXPECT_EQ(seen.focus, seen.cancel) << "a focused OK button would take over the default";
    }
    EXPECT_NE(seen.icon, nullptr) << "no question-mark icon";
}

}  // namespace
