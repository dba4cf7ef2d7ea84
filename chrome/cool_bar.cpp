#include "chrome/cool_bar.h"

#include "chrome/sizing_bar_geometry.h"
#include "framework/bar_drawing.h"

IMPLEMENT_DYNCREATE(CCoolBar)

BEGIN_MESSAGE_MAP(CCoolBar, CSizingControlBar)
    ON_MESSAGE(WM_NCLBUTTONUP, OnNcLButtonUp)
    ON_MESSAGE(WM_NCHITTEST, OnCoolNcHitTest)
    ON_MESSAGE(WM_SETTEXT, OnCoolSetText)
END_MESSAGE_MAP()

namespace {
geo::Point WindowPoint(HWND wnd, CPoint screen) {
    RECT window;
    ::GetWindowRect(wnd, &window);
    return {screen.x - window.left, screen.y - window.top};
}
}  // namespace

CCoolBar::CCoolBar() {
    barFlags = sizing::kSizeChild;  // the child fills the client area; the edges are not drawn
}

BOOL CCoolBar::ShowsGrip() const { return IsDockedAnywhere(); }

void CCoolBar::ComputeClientArea(CRect& rect, UINT dockBarId) {
    CSizingControlBar::ComputeClientArea(rect, dockBarId);
    sizing::GripArea grip = sizing::CoolBarClientArea({rect.left, rect.top, rect.right, rect.bottom}, dockBarId, gripWidth);
    if (!grip.hasGrip) return;
    rect = CRect(grip.client.left, grip.client.top, grip.client.right, grip.client.bottom);
    buttonOrigin = CPoint(grip.button.x - m_ncWindowRect.left, grip.button.y - m_ncWindowRect.top);
}

LRESULT CCoolBar::OnCoolNcHitTest(WPARAM, LPARAM point) {
    CPoint screen(point);
    LRESULT hit = HitTestEdges(screen);
    if (hit == HTCLIENT && ShowsGrip() &&
        sizing::OnCloseButton(WindowPoint(m_hWnd, screen), {buttonOrigin.x, buttonOrigin.y}))
        return HTCLOSE;
    return hit;
}

LRESULT CCoolBar::OnNcLButtonUp(WPARAM hitTest, LPARAM) {
    // Released over the button it was pressed on: the bar goes away through its frame.
    if (hitTest == HTCLOSE) {
        if (CFrameWnd* frame = DockSite()) frame->ShowControlBar(this, false, false);
        return 0;
    }
    return Default();
}

LRESULT CCoolBar::OnCoolSetText(WPARAM wParam, LPARAM text) {
    LRESULT result = OnSetText(wParam, text);
    SendMessage(WM_NCPAINT);
    return result;
}

void CCoolBar::OnUpdateCmdUI(CFrameWnd*, bool) {
    if (!ShowsGrip()) return;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    // The bar's own hit test: where an edge overlaps the button, a press drags the edge.
    bool onButton = OnCoolNcHitTest(0, MAKELPARAM(cursor.x, cursor.y)) == HTCLOSE;
    bool pressed = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    BOOL down = onButton && pressed;
    BOOL hot = onButton && !pressed;
    HWND focus = ::GetFocus();
    BOOL focused = focus && ::IsChild(m_hWnd, focus);
    if (down == buttonDown && hot == buttonHot && focused == hasFocus) return;
    buttonDown = down;
    buttonHot = hot;
    hasFocus = focused;
    SendMessage(WM_NCPAINT);
}

void CCoolBar::PaintGripArea(HDC dc, const CRect& client) {
    if (!ShowsGrip()) return;
    sizing::Gripper grip = sizing::GripperBars({client.left, client.top, client.right, client.bottom}, dockSide,
                                               {buttonOrigin.x, buttonOrigin.y});
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    for (const geo::Rect& bar : {grip.first, grip.second})
        Draw3dRect(dc, RECT{bar.left, bar.top, bar.right, bar.bottom}, light, shadow);
    PaintCloseButton(dc);
}

void CCoolBar::PaintCloseButton(HDC dc) {
    const int size = sizing::kCloseButtonSize;
    CRect button(buttonOrigin.x, buttonOrigin.y, buttonOrigin.x + size, buttonOrigin.y + size);
    COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (buttonDown) Draw3dRect(dc, button, shadow, light);
    else if (buttonHot) Draw3dRect(dc, button, light, shadow);

    // The close mark is the letter "r" of the Marlett symbol font, 6 points at 96 pixels per inch.
    int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    int tenthsOfPoint = ::MulDiv(60, 96, dpi);
    LOGFONTA lf{};
    lf.lfHeight = -::MulDiv(tenthsOfPoint, dpi, 720);
    lf.lfCharSet = SYMBOL_CHARSET;
    lstrcpyA(lf.lfFaceName, "Marlett");
    CFont font;
    font.CreateFontIndirect(lf);
    CSelectGuard keep(dc, font.GetSafeHandle());
    COLORREF oldColor = ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    ::TextOutA(dc, buttonOrigin.x + 3, buttonOrigin.y + 3, "r", 1);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
}
