#include "chrome/static_ex.h"

#include <shellapi.h>

#include "chrome/chrome_text.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CStaticEx)

BEGIN_MESSAGE_MAP(CStaticEx, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_STN_CLICKED_REFLECT(OnClicked)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CStaticEx::CStaticEx()
    : backgroundColor(::GetSysColor(COLOR_BTNFACE)), textColor(::GetSysColor(COLOR_WINDOWTEXT)) {
    // The background colour has no setter, so the brush made from it now never goes stale.
    backgroundBrush.CreateSolidBrush(backgroundColor);
}

CStaticEx::~CStaticEx() = default;  // the owned font and the brush go with their wrappers

COLORREF CStaticEx::SetLinkColor(COLORREF color) {
    COLORREF previous = textColor;
    textColor = color;
    if (m_hWnd) Invalidate(true);
    return previous;
}

void CStaticEx::SetOwnFont(int height, int weight, BYTE pitchAndFamily, const char* faceName) {
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfPitchAndFamily = pitchAndFamily;
    chrome_text::CopyBounded(lf.lfFaceName, LF_FACESIZE, faceName ? faceName : "");
    ownFont.DeleteObject();
    ownFont.CreateFontIndirect(lf);  // on failure the control falls back to the system font
    if (m_hWnd) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(ownFont)), TRUE);
}

HBRUSH CStaticEx::CtlColor(HDC dc, UINT) {
    // A static reports clicks only with SS_NOTIFY; a link gains it on its first paint.
    if (!linkTarget.empty() && !(GetStyle() & SS_NOTIFY))
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | SS_NOTIFY));
    ::SetTextColor(dc, visited ? visitedColor : textColor);
    ::SetBkColor(dc, backgroundColor);
    return backgroundBrush;
}

void CStaticEx::OnClicked() {
    if (linkTarget.empty()) return;
    HINSTANCE result = ::ShellExecuteA(nullptr, "open", linkTarget.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) > 32) {
        visited = TRUE;
        Invalidate(true);
        return;
    }
    ::MessageBeep(0);
    AfxMessageBox(chrome_text::LinkFailureMessage(linkTarget).c_str(), MB_ICONINFORMATION);
}

BOOL CStaticEx::OnSetCursor(HWND, UINT, UINT) {
    HCURSOR cursor = handCursor ? ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_LINK_HAND)) : nullptr;
    ::SetCursor(cursor ? cursor : ::LoadCursorA(nullptr, IDC_ARROW));  // never no pointer at all
    return TRUE;
}
