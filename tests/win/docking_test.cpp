// The docking machinery and the sizing bars on real windows: the frame's layout around its first
// pane, rows shared and wrapped, edge drags driven by the bar's own messages, delayed showing,
// floating in a mini frame and back, the cool bar's close button, and toolbar button updates.
#include <gtest/gtest.h>

#include <vector>

#include "chrome/cool_bar.h"
#include "framework/framework.h"

// Rectangles compare and print by their sides.
bool operator==(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != 0; }
void PrintTo(const RECT& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
void PrintTo(const CRect& r, std::ostream* out) { PrintTo(static_cast<const RECT&>(r), out); }
void PrintTo(const CPoint& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }

namespace {

class DockTestApp : public CWinApp {
public:
    DockTestApp() : CWinApp("DockingTest") {}
};
DockTestApp theApp;

enum : UINT { kRuns = 41001, kRefused = 41002, kNobody = 41003 };

class DockFrame : public CFrameWnd {
public:
    CStatusBar status;
    CCoolBar pane;
    CCoolBar second;
    CToolBar tools;
    HWND view = nullptr;
    HWND paneChild = nullptr;
    int runs = 0, refused = 0;
    bool refusedEnabled = false;

protected:
    void OnRuns() { ++runs; }
    void OnRefused() { ++refused; }
    void OnUpdateRefused(CCmdUI* ui) { ui->Enable(refusedEnabled); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DockFrame, CFrameWnd)
    ON_COMMAND(kRuns, OnRuns)
    ON_COMMAND(kRefused, OnRefused)
    ON_UPDATE_COMMAND_UI(kRefused, OnUpdateRefused)
END_MESSAGE_MAP()

void Pump() {
    MSG msg;
    for (int round = 0; round < 5; ++round) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(10);
    }
}

// The pointer reaches its place through the display server: waits until it is there.
bool MoveCursorTo(POINT to) {
    POINT at{-1, -1};
    for (int tries = 0; tries < 200 && (at.x != to.x || at.y != to.y); ++tries) {
        ::SetCursorPos(to.x, to.y);
        Pump();
        ::GetCursorPos(&at);
    }
    return at.x == to.x && at.y == to.y;
}

CRect ScreenRect(HWND wnd) {
    CRect r;
    ::GetWindowRect(wnd, &r);
    return r;
}

CRect ClientOnScreen(HWND wnd) {
    CRect r;
    ::GetClientRect(wnd, &r);
    ::MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LPARAM ScreenPoint(int x, int y) { return MAKELPARAM(x, y); }

// Mouse messages carry client coordinates.
LPARAM ClientPoint(HWND wnd, int x, int y) {
    POINT p{x, y};
    ::ScreenToClient(wnd, &p);
    return MAKELPARAM(p.x, p.y);
}

class Docking : public testing::Test {
protected:
    void SetUp() override {
        frame = new DockFrame;
        ASSERT_TRUE(frame->LoadFrame(1, WS_OVERLAPPEDWINDOW, nullptr, nullptr));
        CRect outer(0, 0, 800, 600);
        ::AdjustWindowRectEx(&outer, frame->GetStyle(), FALSE, frame->GetExStyle());
        frame->SetWindowPos(nullptr, 50, 50, outer.Width(), outer.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        frame->view = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame->m_hWnd,
                                        reinterpret_cast<HMENU>(AFX_IDW_PANE_FIRST), nullptr, nullptr);
        frame->EnableDocking(CBRS_ALIGN_ANY);
        ASSERT_TRUE(frame->pane.Create("History", frame, 123, WS_CHILD | WS_VISIBLE | CBRS_TOP));
        frame->pane.SetBarStyle(frame->pane.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
        frame->pane.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&frame->pane, AFX_IDW_DOCKBAR_BOTTOM);
        // What the history list is in the program: the pane's only child.
        frame->paneChild = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, frame->pane.m_hWnd,
                                             reinterpret_cast<HMENU>(100), nullptr, nullptr);
        const UINT indicators[] = {ID_SEPARATOR, ID_SEPARATOR};
        ASSERT_TRUE(frame->status.Create(frame) && frame->status.SetIndicators(indicators, 2));
        frame->ShowWindow(SW_SHOWNOACTIVATE);
        frame->RecalcLayout();
        Pump();
    }
    void TearDown() override {
        if (frame && frame->m_hWnd) frame->DestroyWindow();  // deletes the frame
        Pump();
    }

    CDockBar* Bottom() const { return frame->GetDockBar(AFX_IDW_DOCKBAR_BOTTOM); }
    CRect FreeArea() const {
        CRect free;
        frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &free);
        return free;
    }
    CRect ViewInFrame() const {
        CRect r = ScreenRect(frame->view);
        ::MapWindowPoints(nullptr, frame->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // Drags edge `hit` of `bar` from `from` to `to` (screen) with the bar's own messages.
    void DragEdge(CSizingControlBar& bar, UINT hit, POINT from, POINT to, UINT endMessage = WM_LBUTTONUP) {
        bar.SendMessage(WM_NCLBUTTONDOWN, hit, ScreenPoint(from.x, from.y));
        ASSERT_TRUE(bar.dragging);
        bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(bar.m_hWnd, (from.x + to.x) / 2, (from.y + to.y) / 2));
        bar.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(bar.m_hWnd, to.x, to.y));
        bar.SendMessage(endMessage, 0, ClientPoint(bar.m_hWnd, to.x, to.y));
        EXPECT_FALSE(bar.dragging);
        Pump();
    }

    DockFrame* frame = nullptr;
};

TEST_F(Docking, FrameLaysOutDockBarsAroundTheFirstPaneWithTheStatusBarAtTheBottom) {
    for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM}) {
        ASSERT_NE(frame->GetDockBar(id), nullptr);
        EXPECT_EQ(frame->GetDockBar(id)->GetDlgCtrlID(), id);
    }
    CRect client;
    frame->GetClientRect(&client);
    CRect status = ScreenRect(frame->status.m_hWnd), pane = ScreenRect(frame->pane.m_hWnd);
    CRect frameClient = ClientOnScreen(frame->m_hWnd);
    EXPECT_EQ(status.bottom, frameClient.bottom);
    // The pane alone in its row hangs 2 pixels past both ends, 200 high, just above the status bar.
    EXPECT_EQ(pane.left, frameClient.left - 2);
    EXPECT_EQ(pane.right, frameClient.right + 2);
    EXPECT_EQ(pane.Height(), 200);
    EXPECT_EQ(pane.bottom, status.top);
    EXPECT_EQ(frame->pane.dockSide, static_cast<UINT>(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(frame->pane.dockedHorzSize.cx, 804);

    // The first pane takes what is left; asking in query mode moves nothing and gives the same.
    CRect view = ViewInFrame();
    EXPECT_EQ(view, CRect(0, 0, 800, pane.top - frameClient.top));
    EXPECT_EQ(FreeArea(), view);

    // The pane's child fills its client area: 5 in from the left plus the gripper, 5 from the top.
    CRect child = ScreenRect(frame->paneChild), inside = ClientOnScreen(frame->pane.m_hWnd);
    EXPECT_EQ(child, inside);
    EXPECT_EQ(inside.left - pane.left, 5 + 12);
    EXPECT_EQ(inside.top - pane.top, 5);
    EXPECT_EQ(pane.right - inside.right, 5);
    EXPECT_EQ(frame->pane.buttonOrigin, CPoint(3, 5));
}

TEST_F(Docking, OnlyTheEdgeFacingTheMiddleSizesAPaneAloneAndDragsStayWithinLimits) {
    CRect pane = ScreenRect(frame->pane.m_hWnd);
    int mid = (pane.left + pane.right) / 2;
    EXPECT_EQ(frame->pane.SendMessage(WM_NCHITTEST, 0, ScreenPoint(mid, pane.top + 2)), HTTOP);
    EXPECT_EQ(frame->pane.SendMessage(WM_NCHITTEST, 0, ScreenPoint(pane.left + 1, pane.top + 100)), HTCLIENT);
    EXPECT_EQ(frame->pane.SendMessage(WM_NCHITTEST, 0, ScreenPoint(pane.right - 1, pane.top + 100)), HTCLIENT);
    EXPECT_EQ(frame->pane.SendMessage(WM_NCHITTEST, 0, ScreenPoint(mid, pane.bottom - 1)), HTCLIENT);

    // Live: up by 80.
    frame->pane.liveDrag = TRUE;
    int viewHeight = ViewInFrame().Height();
    DragEdge(frame->pane, HTTOP, {mid, pane.top + 2}, {mid, pane.top - 78});
    EXPECT_EQ(ScreenRect(frame->pane.m_hWnd).Height(), 280);
    EXPECT_EQ(ViewInFrame().Height(), viewHeight - 80);

    // Never more than the free area less 2 pixels...
    pane = ScreenRect(frame->pane.m_hWnd);
    DragEdge(frame->pane, HTTOP, {mid, pane.top + 2}, {mid, pane.top - 2000});
    EXPECT_EQ(ViewInFrame().Height(), 2);
    // ...and never less than the minimum; a right-button press ends the drag and keeps the size.
    pane = ScreenRect(frame->pane.m_hWnd);
    DragEdge(frame->pane, HTTOP, {mid, pane.top + 2}, {mid, pane.top + 2000}, WM_RBUTTONDOWN);
    EXPECT_EQ(ScreenRect(frame->pane.m_hWnd).Height(), 32);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(Docking, WithoutFullWindowDraggingTheSizeChangesOnlyOnRelease) {
    frame->pane.liveDrag = FALSE;
    CRect pane = ScreenRect(frame->pane.m_hWnd);
    int mid = (pane.left + pane.right) / 2;
    frame->pane.SendMessage(WM_NCLBUTTONDOWN, HTTOP, ScreenPoint(mid, pane.top + 2));
    frame->pane.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(frame->pane.m_hWnd, mid, pane.top - 48));
    Pump();
    EXPECT_EQ(ScreenRect(frame->pane.m_hWnd), pane);
    EXPECT_EQ(frame->pane.dragPos, pane.top - 48);
    frame->pane.SendMessage(WM_LBUTTONUP, 0, ClientPoint(frame->pane.m_hWnd, mid, pane.top - 48));
    Pump();
    EXPECT_EQ(ScreenRect(frame->pane.m_hWnd).Height(), 250);

    // The system setting reaches the bar through the frame.
    frame->SendMessage(WM_SETTINGCHANGE, SPI_SETDRAGFULLWINDOWS, 0);
    BOOL system = FALSE;
    ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &system, 0);
    EXPECT_EQ(frame->pane.liveDrag != FALSE, system != FALSE);
}

TEST_F(Docking, BarsShareARowAndTheSplitterMovesBetweenThem) {
    ASSERT_TRUE(frame->second.Create("Second", frame, 124, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    frame->second.SetBarStyle(frame->second.GetBarStyle() | CBRS_SIZE_DYNAMIC);
    frame->second.EnableDocking(CBRS_ALIGN_ANY);
    CRect place = ScreenRect(frame->pane.m_hWnd);
    place.OffsetRect(place.Width() / 2 + 10, 0);  // dropped on the right half of the pane's row
    frame->DockControlBar(&frame->second, AFX_IDW_DOCKBAR_BOTTOM, &place);
    Pump();
    ASSERT_EQ(Bottom()->RowOf(&frame->pane).size(), 2u);
    EXPECT_EQ(Bottom()->RowOf(&frame->pane)[1], &frame->second);

    CRect a = ScreenRect(frame->pane.m_hWnd), b = ScreenRect(frame->second.m_hWnd);
    CRect client = ClientOnScreen(frame->m_hWnd);
    EXPECT_EQ(a.left, client.left - 2);
    EXPECT_EQ(b.left, a.right - 2);  // neighbours overlap by 2
    EXPECT_EQ(b.right, client.right + 2);
    EXPECT_EQ(a.Height(), b.Height());
    // Inner edges only: the pane's right one, the second bar's left one.
    EXPECT_EQ(frame->pane.barFlags & 0xF, 0x2u | 0x4u);
    EXPECT_EQ(frame->second.barFlags & 0xF, 0x1u | 0x4u);
    EXPECT_EQ(frame->pane.SendMessage(WM_NCHITTEST, 0, ScreenPoint(a.right - 2, a.top + 100)), HTRIGHT);
    EXPECT_EQ(frame->second.SendMessage(WM_NCHITTEST, 0, ScreenPoint(b.left + 2, b.top + 100)), HTLEFT);

    frame->pane.liveDrag = TRUE;
    DragEdge(frame->pane, HTRIGHT, {a.right - 2, a.top + 100}, {a.right + 48, a.top + 100});
    CRect a2 = ScreenRect(frame->pane.m_hWnd), b2 = ScreenRect(frame->second.m_hWnd);
    EXPECT_EQ(a2.Width(), a.Width() + 50);
    EXPECT_EQ(b2.Width(), b.Width() - 50);
    EXPECT_EQ(b2.right, b.right);
    // Past the neighbour's minimum the splitter stops.
    DragEdge(frame->pane, HTRIGHT, {a2.right - 2, a2.top + 100}, {a2.right + 2000, a2.top + 100});
    EXPECT_EQ(ScreenRect(frame->second.m_hWnd).Width(), 33);

    // A bar hidden leaves the row to the other; shown again it keeps its length once.
    frame->ShowControlBar(&frame->second, false, false);
    Pump();
    EXPECT_EQ(ScreenRect(frame->pane.m_hWnd).Width(), client.Width() + 4);
    frame->ShowControlBar(&frame->second, true, false);
    Pump();
    EXPECT_FALSE(frame->second.holdLength);
    EXPECT_EQ(ScreenRect(frame->second.m_hWnd).Width(), 33);
}

TEST_F(Docking, ARowTooLongForTheDockBarWraps) {
    // A toolbar wider than the frame in the pane's row: the pane moves to a row of its own.
    ASSERT_TRUE(frame->tools.Create(frame));
    std::vector<UINT> ids(40, kRuns);
    HDC screen = ::GetDC(nullptr);
    HBITMAP images = ::CreateCompatibleBitmap(screen, 16 * 40, 16);
    ::ReleaseDC(nullptr, screen);
    ASSERT_TRUE(frame->tools.SetBitmap(images, 16, 16));
    ASSERT_TRUE(frame->tools.SetButtons(ids.data(), static_cast<int>(ids.size())));
    frame->tools.EnableDocking(CBRS_ALIGN_ANY);
    CRect place = ScreenRect(frame->pane.m_hWnd);
    place.right = place.left + 10;  // in front of the pane, in its row
    frame->DockControlBar(&frame->tools, AFX_IDW_DOCKBAR_BOTTOM, &place);
    Pump();
    EXPECT_GT(ScreenRect(frame->tools.m_hWnd).Width(), 800);
    std::vector<CControlBar*> row = Bottom()->RowOf(&frame->pane);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(Bottom()->RowOf(&frame->tools).size(), 1u);
    EXPECT_NE(ScreenRect(frame->pane.m_hWnd).top, ScreenRect(frame->tools.m_hWnd).top);
}

TEST_F(Docking, DockedAtASideThePaneStandsUpright) {
    frame->DockControlBar(&frame->pane, AFX_IDW_DOCKBAR_LEFT);
    Pump();
    EXPECT_EQ(frame->pane.dockSide, static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_TRUE(Bottom()->Entries().size() == 1);  // the bottom dock bar is empty again
    CRect pane = ScreenRect(frame->pane.m_hWnd), inside = ClientOnScreen(frame->pane.m_hWnd);
    EXPECT_EQ(pane.Width(), 200);
    EXPECT_EQ(inside.top - pane.top, 5 + 12);  // the gripper lies across the top
    EXPECT_EQ(frame->pane.SendMessage(WM_NCHITTEST, 0, ScreenPoint(pane.right - 2, pane.top + 100)), HTRIGHT);
    EXPECT_EQ(frame->pane.buttonOrigin, CPoint(pane.Width() - 5 - 12, 3));
    EXPECT_EQ(ViewInFrame().left, pane.right - ClientOnScreen(frame->m_hWnd).left);
}

TEST_F(Docking, DelayedHidingWaitsForTheNextLayout) {
    int viewHeight = ViewInFrame().Height();
    frame->ShowControlBar(&frame->pane, false, true);
    EXPECT_FALSE(frame->pane.IsVisible());
    EXPECT_TRUE(frame->pane.GetStyle() & WS_VISIBLE);  // not yet
    Pump();
    EXPECT_FALSE(frame->pane.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(ViewInFrame().Height(), viewHeight + 200);
    frame->ShowControlBar(&frame->pane, true, false);  // at once
    EXPECT_TRUE(frame->pane.IsWindowVisible());
    Pump();
    EXPECT_EQ(ViewInFrame().Height(), viewHeight);
}

TEST_F(Docking, CloseButtonHidesThePaneAndCloseMessagesDoNothing) {
    frame->pane.SendMessage(WM_CLOSE);
    Pump();
    ASSERT_TRUE(::IsWindow(frame->pane.m_hWnd));
    EXPECT_TRUE(frame->pane.IsWindowVisible());

    CRect pane = ScreenRect(frame->pane.m_hWnd);
    CPoint button(pane.left + frame->pane.buttonOrigin.x + 6, pane.top + frame->pane.buttonOrigin.y + 6);
    EXPECT_EQ(frame->pane.SendMessage(WM_NCHITTEST, 0, ScreenPoint(button.x, button.y)), HTCLOSE);
    // Released elsewhere: nothing.
    frame->pane.SendMessage(WM_NCLBUTTONUP, HTCLIENT, ScreenPoint(button.x + 40, button.y));
    EXPECT_TRUE(frame->pane.IsWindowVisible());
    frame->pane.SendMessage(WM_NCLBUTTONUP, HTCLOSE, ScreenPoint(button.x, button.y));
    EXPECT_FALSE(frame->pane.IsWindowVisible());
    EXPECT_EQ(ViewInFrame().bottom, ScreenRect(frame->status.m_hWnd).top - ClientOnScreen(frame->m_hWnd).top);
}

TEST_F(Docking, CloseButtonLightsUpOnlyWhereAPressWouldHideThePane) {
    // A second pane in the row gives the first one's neighbour a left edge, which runs over the
    // close button's left columns: there the edge wins, for the press and for the lit button.
    ASSERT_TRUE(frame->second.Create("Second", frame, 124, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    frame->second.SetBarStyle(frame->second.GetBarStyle() | CBRS_SIZE_DYNAMIC);
    frame->second.EnableDocking(CBRS_ALIGN_ANY);
    CRect place = ScreenRect(frame->pane.m_hWnd);
    place.OffsetRect(place.Width() / 2 + 10, 0);
    frame->DockControlBar(&frame->second, AFX_IDW_DOCKBAR_BOTTOM, &place);
    Pump();
    CCoolBar& bar = frame->second;
    CRect window = ScreenRect(bar.m_hWnd);
    CPoint onEdge(window.left + bar.buttonOrigin.x, window.top + bar.buttonOrigin.y + 6);
    CPoint onButton(onEdge.x + 6, onEdge.y);
    ASSERT_EQ(bar.SendMessage(WM_NCHITTEST, 0, ScreenPoint(onEdge.x, onEdge.y)), HTLEFT);
    ASSERT_EQ(bar.SendMessage(WM_NCHITTEST, 0, ScreenPoint(onButton.x, onButton.y)), HTCLOSE);

    ASSERT_TRUE(MoveCursorTo(onButton));
    bar.OnUpdateCmdUI(frame, true);
    EXPECT_TRUE(bar.buttonHot);
    ASSERT_TRUE(MoveCursorTo(onEdge));
    bar.OnUpdateCmdUI(frame, true);
    EXPECT_FALSE(bar.buttonHot);
}

TEST_F(Docking, FloatingPaneLivesInAMiniFrameCaptionedWithItsText) {
    frame->FloatControlBar(&frame->pane, CPoint(300, 200), frame->pane.GetBarStyle());
    Pump();
    auto* mini = dynamic_cast<CMiniDockFrameWnd*>(frame->pane.GetParentFrame());
    ASSERT_NE(mini, nullptr);
    EXPECT_TRUE(frame->pane.IsFloating());
    EXPECT_EQ(frame->pane.dockSide, static_cast<UINT>(AFX_IDW_DOCKBAR_FLOAT));
    EXPECT_EQ(mini->GetWindowText(), "History");
    EXPECT_TRUE(mini->IsWindowVisible());
    EXPECT_FALSE(mini->GetStyle() & MFS_4THICKFRAME);  // the sizing bar wants its corners
    EXPECT_EQ(ScreenRect(mini->m_hWnd).TopLeft(), CPoint(300, 200));
    CRect pane = ScreenRect(frame->pane.m_hWnd);
    EXPECT_EQ(pane.Size(), CSize(200, 200));
    EXPECT_EQ(ClientOnScreen(frame->pane.m_hWnd), CRect(pane.left + 3, pane.top + 5, pane.right - 3, pane.bottom - 3));
    EXPECT_FALSE(frame->pane.ShowsGrip());
    EXPECT_EQ(frame->pane.SendMessage(WM_NCHITTEST, 0, ScreenPoint(pane.left + 1, pane.top + 1)), HTCLIENT);
    EXPECT_EQ(ViewInFrame().bottom, ScreenRect(frame->status.m_hWnd).top - ClientOnScreen(frame->m_hWnd).top);

    frame->pane.SetWindowText("Renamed");
    Pump();
    EXPECT_EQ(mini->GetWindowText(), "Renamed");

    // Closing the mini frame hides the pane; showing the pane shows the mini frame again.
    HWND miniWindow = mini->m_hWnd;
    mini->SendMessage(WM_CLOSE);
    Pump();
    EXPECT_FALSE(frame->pane.GetStyle() & WS_VISIBLE);
    EXPECT_FALSE(::IsWindowVisible(miniWindow));
    frame->ShowControlBar(&frame->pane, true, false);
    EXPECT_TRUE(::IsWindowVisible(miniWindow));
    // It goes out of sight with the frame and comes back with it.
    frame->ShowWindow(SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(miniWindow));
    frame->ShowWindow(SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(miniWindow));

    // Docking again (as a double-click does) puts it back where it was; the mini frame goes.
    frame->pane.m_pDockContext->ToggleDocking();
    Pump();
    EXPECT_EQ(frame->pane.m_pDockBar, Bottom());
    EXPECT_FALSE(::IsWindow(miniWindow));
    EXPECT_EQ(ScreenRect(frame->pane.m_hWnd).Height(), 200);
    EXPECT_TRUE(frame->pane.ShowsGrip());
}

// Sizes the mini frame of a floating bar by border `hit`, the mouse released at `to` (screen).
void SizeMiniFrame(CMiniDockFrameWnd* mini, UINT hit, POINT from, POINT to) {
    ASSERT_TRUE(MoveCursorTo(to));
    ::PostMessageA(mini->m_hWnd, WM_MOUSEMOVE, 0, 0);
    ::PostMessageA(mini->m_hWnd, WM_LBUTTONUP, 0, 0);
    mini->SendMessage(WM_NCLBUTTONDOWN, hit, ScreenPoint(from.x, from.y));
    Pump();
}

TEST_F(Docking, FloatingPaneIsSizedByTheCornersOfItsMiniFrameDownToItsMinimum) {
    frame->FloatControlBar(&frame->pane, CPoint(300, 200), frame->pane.GetBarStyle());
    Pump();
    auto* mini = dynamic_cast<CMiniDockFrameWnd*>(frame->pane.GetParentFrame());
    ASSERT_NE(mini, nullptr);
    CRect outer = ScreenRect(mini->m_hWnd);
    CRect inner = ScreenRect(frame->pane.m_hWnd);
    CSize border(outer.Width() - inner.Width(), outer.Height() - inner.Height());
    // The corners are corners, not the sides they touch.
    EXPECT_EQ(mini->SendMessage(WM_NCHITTEST, 0, ScreenPoint(outer.right - 1, outer.bottom - 1)), HTBOTTOMRIGHT);

    SizeMiniFrame(mini, HTBOTTOMRIGHT, {outer.right - 1, outer.bottom - 1}, {outer.right + 60, outer.bottom + 40});
    EXPECT_EQ(ScreenRect(mini->m_hWnd), CRect(outer.left, outer.top, outer.right + 60, outer.bottom + 40));
    EXPECT_EQ(frame->pane.floatingSize, CSize(260, 240));
    EXPECT_EQ(ScreenRect(frame->pane.m_hWnd).Size(), CSize(260, 240));

    // The top-left corner moves and the opposite one stays, never below 37 x 32.
    outer = ScreenRect(mini->m_hWnd);
    SizeMiniFrame(mini, HTTOPLEFT, {outer.left, outer.top}, {outer.right - 5, outer.bottom - 5});
    EXPECT_EQ(frame->pane.floatingSize, CSize(37, 32));
    EXPECT_EQ(ScreenRect(mini->m_hWnd), CRect(outer.right - 37 - border.cx, outer.bottom - 32 - border.cy,
                                               outer.right, outer.bottom));
}

// Counts TB_SETSTATE sent to one toolbar on this thread.
HWND g_countedToolbar = nullptr;
int g_setStates = 0;
LRESULT CALLBACK CountSetState(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code >= 0 && message->hwnd == g_countedToolbar && message->message == TB_SETSTATE) ++g_setStates;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Docking, ToolbarButtonsFollowTheirRulesOnlyOnChangeAndADisabledOneNeverRuns) {
    ASSERT_TRUE(frame->tools.Create(frame));
    const UINT ids[] = {kRuns, ID_SEPARATOR, kRefused, kNobody};
    HDC screen = ::GetDC(nullptr);
    HBITMAP images = ::CreateCompatibleBitmap(screen, 48, 16);
    ::ReleaseDC(nullptr, screen);
    ASSERT_TRUE(frame->tools.SetBitmap(images, 16, 16));
    ASSERT_TRUE(frame->tools.SetButtons(ids, 4));
    frame->tools.SetWindowText("Toolbar");
    frame->tools.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&frame->tools, AFX_IDW_DOCKBAR_TOP);
    Pump();
    EXPECT_EQ(frame->tools.GetCount(), 4);
    EXPECT_EQ(frame->tools.GetItemID(1), static_cast<UINT>(ID_SEPARATOR));
    EXPECT_EQ(ScreenRect(frame->tools.m_hWnd).top, ClientOnScreen(frame->GetDockBar(AFX_IDW_DOCKBAR_TOP)->m_hWnd).top);

    HWND bar = frame->tools.m_hWnd;
    auto enabled = [bar](UINT id) { return ::SendMessageA(bar, TB_ISBUTTONENABLED, id, 0) != 0; };
    g_countedToolbar = bar;
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, CountSetState, nullptr, ::GetCurrentThreadId());
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(enabled(kRuns));
    EXPECT_FALSE(enabled(kRefused));
    EXPECT_FALSE(enabled(kNobody));  // nobody handles it
    EXPECT_EQ(g_setStates, 2);
    g_setStates = 0;
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(g_setStates, 0);  // nothing changed: nothing sent
    frame->refusedEnabled = true;
    frame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(g_setStates, 1);
    EXPECT_TRUE(enabled(kRefused));
    ::UnhookWindowsHookEx(hook);
    frame->refusedEnabled = false;

    // A button's command comes from the toolbar, through its dock bar or straight to the frame;
    // its rule is asked again either way.
    HWND dockBar = ::GetParent(bar);
    ::SendMessageA(dockBar, WM_COMMAND, MAKEWPARAM(kRuns, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
    ::SendMessageA(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(kRuns, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
    ::SendMessageA(dockBar, WM_COMMAND, MAKEWPARAM(kRefused, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
    ::SendMessageA(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(kRefused, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(frame->runs, 2);
    EXPECT_EQ(frame->refused, 0);

    // Docked at a side the buttons stand in one column; floating, the caption is the bar's text.
    frame->DockControlBar(&frame->tools, AFX_IDW_DOCKBAR_RIGHT);
    Pump();
    CRect tools = ScreenRect(bar);
    EXPECT_GT(tools.Height(), tools.Width());
    frame->FloatControlBar(&frame->tools, CPoint(100, 100), frame->tools.GetBarStyle());
    Pump();
    ASSERT_NE(frame->tools.GetParentFrame(), frame);
    EXPECT_EQ(frame->tools.GetParentFrame()->GetWindowText(), "Toolbar");
    EXPECT_TRUE(frame->tools.GetParentFrame()->GetStyle() & MFS_4THICKFRAME);  // only sizing bars take it off
}

}  // namespace
