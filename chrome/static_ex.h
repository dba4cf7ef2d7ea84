#pragma once
// CStaticEx: a static text that can act as a hyperlink. It draws its text in a chosen colour on the
// dialog background, may carry its own font, may show a pointing hand, opens its link target
// through the shell when clicked, and from then on shows itself in the visited colour.
#include <string>

#include "framework/framework.h"

class CStaticEx : public CStatic {
    DECLARE_DYNCREATE(CStaticEx)
public:
    static constexpr COLORREF kVisitedColor = 0x00C08000;

    CStaticEx();
    ~CStaticEx() override;

    // When set, the pointer over the control is the pointing hand instead of the arrow.
    BYTE handCursor = FALSE;

    // Stores the text colour and repaints; returns the colour in force before.
    COLORREF SetLinkColor(COLORREF color);
    // An empty target makes the control no link.
    void SetLinkTarget(const std::string& target) { linkTarget = target; }
    // Replaces the control's own font (at most 31 characters of the face name are used).
    void SetOwnFont(int height, int weight, BYTE pitchAndFamily, const char* faceName);

    bool IsVisited() const { return visited != FALSE; }
    COLORREF TextColor() const { return textColor; }
    HFONT OwnFont() const { return ownFont; }

protected:
    CBrush backgroundBrush;
    BOOL visited = FALSE;
    std::string linkTarget;
    COLORREF backgroundColor;
    COLORREF textColor;
    COLORREF visitedColor = kVisitedColor;
    CFont ownFont;

    afx_msg HBRUSH CtlColor(HDC dc, UINT ctlColor);
    afx_msg void OnClicked();
    afx_msg BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
