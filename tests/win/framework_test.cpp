// The framework's document template, command routing and update rules, and CBitmap ownership,
// exercised on real windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/framework.h"

namespace {

std::vector<std::string> g_log;
int g_ran[8];

enum : UINT {
    kViewOnly = 40001,   // handled by the view
    kBoth = 40002,       // handled by view and frame: the view wins
    kFrameOnly = 40003,  // handled by the frame
    kAppOnly = 40004,    // handled by the application
    kDisabled = 40005,   // handled, but its rule says disabled
    kNobody = 40006,     // handled by nobody
    kChecked = 40007,    // handled, rule checks it
};

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("FrameworkTest") {}

protected:
    void OnAppOnly() { ++g_ran[3]; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND(kAppOnly, OnAppOnly)
END_MESSAGE_MAP()
TestApp theTestApp;

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)
public:
    TestDoc() { g_log.push_back("document"); }
};
IMPLEMENT_DYNCREATE(TestDoc)

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
public:
    TestView() { g_log.push_back("view"); }
    void OnInitialUpdate() override { g_log.push_back("view initial update"); }

protected:
    void OnViewOnly() { ++g_ran[0]; }
    void OnBoth() { ++g_ran[1]; }
    void OnDisabled() { ++g_ran[5]; }
    void OnUpdateDisabled(CCmdUI* ui) { ui->Enable(false); }
    void OnChecked() {}
    void OnUpdateChecked(CCmdUI* ui) { ui->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestView)
BEGIN_MESSAGE_MAP(TestView, CView)
    ON_COMMAND(kViewOnly, OnViewOnly)
    ON_COMMAND(kBoth, OnBoth)
    ON_COMMAND(kDisabled, OnDisabled)
    ON_UPDATE_COMMAND_UI(kDisabled, OnUpdateDisabled)
    ON_COMMAND(kChecked, OnChecked)
    ON_UPDATE_COMMAND_UI(kChecked, OnUpdateChecked)
END_MESSAGE_MAP()

class TestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(TestFrame)
public:
    TestFrame() { g_log.push_back("frame"); }
    bool PreCreateWindow(CREATESTRUCTA& cs) override {
        AfxGetApp()->m_nCmdShow = SW_HIDE;  // hidden before it is ever shown
        return CFrameWnd::PreCreateWindow(cs);
    }

protected:
    int OnCreate(LPCREATESTRUCT cs) {
        g_log.push_back("frame create");
        if (CFrameWnd::OnCreate(cs) == -1) return -1;
        g_log.push_back("frame create done");
        return 0;
    }
    void OnShowWindow(bool show, UINT) { if (show) g_log.push_back("frame shown"); }
    void OnBoth() { ++g_ran[2]; }
    void OnFrameOnly() { ++g_ran[4]; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestFrame)
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SHOWWINDOW()
    ON_COMMAND(kBoth, OnBoth)
    ON_COMMAND(kFrameOnly, OnFrameOnly)
END_MESSAGE_MAP()

class FrameworkTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        g_log.clear();
        theTestApp.AddDocTemplate(new CSingleDocTemplate(128, RUNTIME_CLASS(TestDoc),
                                                         RUNTIME_CLASS(TestFrame), RUNTIME_CLASS(TestView)));
        CCommandLineInfo info;
        ASSERT_TRUE(theTestApp.ProcessShellCommand(info));
        frame = static_cast<CFrameWnd*>(theTestApp.m_pMainWnd);
    }
    void SetUp() override { std::fill(std::begin(g_ran), std::end(g_ran), 0); }

    static void Command(UINT id, WORD code = 0) { frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, code), 0); }

    static CFrameWnd* frame;
};
CFrameWnd* FrameworkTest::frame = nullptr;

TEST_F(FrameworkTest, TemplateCreatesDocumentFrameViewInOrderAndKeepsHiddenFrameHidden) {
    std::vector<std::string> expected = {"document", "frame", "frame create", "view",
                                         "frame create done", "view initial update"};
    EXPECT_EQ(g_log, expected);
    EXPECT_FALSE(frame->IsWindowVisible());
    ASSERT_NE(frame->GetActiveView(), nullptr);
    EXPECT_EQ(frame->GetActiveView()->GetDocument(), frame->GetActiveView()->GetDocument());
}

TEST_F(FrameworkTest, CommandsRouteViewThenFrameThenApplication) {
    Command(kViewOnly);
    Command(kBoth);
    Command(kFrameOnly);
    Command(kAppOnly);
    EXPECT_EQ(g_ran[0], 1);
    EXPECT_EQ(g_ran[1], 1);  // the view's handler
    EXPECT_EQ(g_ran[2], 0);  // the frame's twin never runs
    EXPECT_EQ(g_ran[4], 1);
    EXPECT_EQ(g_ran[3], 1);
}

TEST_F(FrameworkTest, DisabledCommandNeverRunsFromMenuAcceleratorOrBar) {
    Command(kDisabled);     // menu
    Command(kDisabled, 1);  // accelerator
    EXPECT_EQ(g_ran[5], 0);
    EXPECT_FALSE(frame->IsCommandEnabled(kDisabled));
    EXPECT_TRUE(frame->IsCommandEnabled(kViewOnly));
}

TEST_F(FrameworkTest, MenuUpdateAppliesRulesAndDisablesUnhandledItems) {
    HMENU popup = ::CreatePopupMenu();
    const UINT ids[] = {kViewOnly, kDisabled, kNobody, kChecked, kAppOnly};
    for (UINT id : ids) ::AppendMenuA(popup, MF_STRING, id, "item");
    ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    auto state = [&](UINT id) { return ::GetMenuState(popup, id, MF_BYCOMMAND); };
    EXPECT_FALSE(state(kViewOnly) & MF_GRAYED);
    EXPECT_TRUE(state(kDisabled) & MF_GRAYED);
    EXPECT_TRUE(state(kNobody) & MF_GRAYED);
    EXPECT_TRUE(state(kChecked) & MF_CHECKED);
    EXPECT_FALSE(state(kAppOnly) & MF_GRAYED);
    ::DestroyMenu(popup);
}

TEST_F(FrameworkTest, AcceleratorsReachTheFrameThroughTheMessageLoop) {
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'Q', static_cast<WORD>(kFrameOnly)},
                     {FVIRTKEY | FCONTROL, 'D', static_cast<WORD>(kDisabled)}};
    frame->m_hAccelTable = ::CreateAcceleratorTableA(table, 2);
    MSG msg{frame->m_hWnd, WM_KEYDOWN, 'Q', 0};
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_TRUE(theTestApp.PreTranslateMessage(&msg));
    msg.wParam = 'D';
    theTestApp.PreTranslateMessage(&msg);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(g_ran[4], 1);
    EXPECT_EQ(g_ran[5], 0);
    ::DestroyAcceleratorTable(frame->m_hAccelTable);
    frame->m_hAccelTable = nullptr;
}

// A control object that counts the notifications passed back to it by its parent.
class CountingControl : public CWnd {
public:
    int reflected = 0;

protected:
    void OnClicked() { ++reflected; }
    void OnCustom(NMHDR*, LRESULT*) { ++reflected; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CountingControl, CWnd)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
    ON_NOTIFY_REFLECT(NM_CLICK, OnCustom)
END_MESSAGE_MAP()

TEST_F(FrameworkTest, AWindowNotOursNamedInAMessageReachesNoObject) {
    // Any program can put a property on its own window; here it claims our bound object's name
    // and points it at a live object of ours that does not own the window.
    CountingControl victim;
    ASSERT_TRUE(victim.CreateEx(0, nullptr, "victim", WS_CHILD, 0, 0, 10, 10, frame->m_hWnd, 901));
    HWND foreign = ::CreateWindowExA(0, "STATIC", "foreign", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
    ASSERT_NE(foreign, nullptr);
    // The desktop window belongs to another process (the shell).
    const HWND otherProcess = ::GetDesktopWindow();
    DWORD owner = 0;
    ::GetWindowThreadProcessId(otherProcess, &owner);
    EXPECT_NE(owner, ::GetCurrentProcessId());

    for (HWND named : {foreign, otherProcess}) {
        ::SetPropA(named, "Tessaly.CWnd", &victim);
        ASSERT_EQ(::GetPropA(named, "Tessaly.CWnd"), &victim);  // the forgery is in place
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(901, BN_CLICKED), reinterpret_cast<LPARAM>(named));
        NMHDR header{named, 901, static_cast<UINT>(NM_CLICK)};
        frame->SendMessage(WM_NOTIFY, 901, reinterpret_cast<LPARAM>(&header));
        HDC dc = ::GetDC(foreign);
        frame->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(named));
        ::ReleaseDC(foreign, dc);
        EXPECT_EQ(victim.reflected, 0) << named;
        EXPECT_EQ(CWnd::FromHandlePermanent(named), nullptr) << named;
        ::RemovePropA(named, "Tessaly.CWnd");
    }

    // The object's own window still reaches it.
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(901, BN_CLICKED), reinterpret_cast<LPARAM>(victim.m_hWnd));
    EXPECT_EQ(victim.reflected, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(victim.m_hWnd), &victim);
    ::DestroyWindow(foreign);
    HWND own = victim.m_hWnd;
    victim.DestroyWindow();
    EXPECT_EQ(CWnd::FromHandlePermanent(own), nullptr);  // the table forgets a destroyed window
}

TEST(CBitmapTest, OwnsAtMostOneHandle) {
    HDC screen = ::GetDC(nullptr);
    CBitmap bitmap;
    EXPECT_FALSE(bitmap.DeleteObject());  // nothing to delete
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(screen, 30, 20));
    HGDIOBJ first = bitmap.GetSafeHandle();
    BITMAP info{};
    ASSERT_TRUE(bitmap.GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 30);
    EXPECT_EQ(info.bmHeight, 20);

    // Attach replaces: the old image is destroyed, the new one owned.
    HBITMAP second = ::CreateCompatibleBitmap(screen, 5, 6);
    bitmap.Attach(second);
    EXPECT_EQ(::GetObjectType(first), 0u);
    EXPECT_EQ(bitmap.GetSize(), CSize(5, 6));

    // Detach hands it back undestroyed.
    HGDIOBJ detached = bitmap.Detach();
    EXPECT_EQ(detached, second);
    EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
    EXPECT_EQ(::GetObjectType(detached), static_cast<DWORD>(OBJ_BITMAP));

    // Moving transfers ownership; the moved-from object holds nothing.
    bitmap.Attach(detached);
    CBitmap other(std::move(bitmap));
    EXPECT_EQ(other.GetSafeHandle(), detached);
    EXPECT_EQ(bitmap.GetSafeHandle(), nullptr);
    EXPECT_TRUE(other.DeleteObject());
    EXPECT_EQ(::GetObjectType(detached), 0u);
    ::ReleaseDC(nullptr, screen);
}

}  // namespace

namespace {

class ScrollTestView : public CScrollView {};

TEST(CScrollViewTest, PositionStaysWithinWhatTheClientAreaAllows) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "scroll parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, 0));
    ScrollTestView view;
    ASSERT_TRUE(view.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 200, 100), &parent, 1));
    CRect client;
    view.GetClientRect(&client);

    view.SetScrollSizes(MM_TEXT, CSize(1000, 800));
    view.ScrollToPosition(CPoint(5000, 5000));
    CRect after;
    view.GetClientRect(&after);  // the scroll bars narrowed it
    EXPECT_EQ(view.GetScrollPosition(), CPoint(1000 - after.Width(), 800 - after.Height()));
    view.ScrollToPosition(CPoint(-5, 30));
    EXPECT_EQ(view.GetScrollPosition(), CPoint(0, 30));

    // Shrinking the total size pulls the position back in; a size that fits needs no scrolling.
    view.SetScrollSizes(MM_TEXT, CSize(50, 40));
    EXPECT_EQ(view.GetScrollPosition(), CPoint(0, 0));
    view.DestroyWindow();
    parent.DestroyWindow();
}

}  // namespace
