#pragma once
// Mini frames: small captioned popup windows. A floating control bar lives in a CMiniDockFrameWnd,
// inside the mini frame's own (floating) dock bar; the caption is the bar's text.
#include "framework/dock_bar.h"

// Mini frame styles (in the low word of the window style, which the system leaves to the class).
constexpr DWORD MFS_4THICKFRAME = 0x0002L;  // sized by its sides only, not its corners
constexpr DWORD MFS_THICKFRAME = 0x0004L;
constexpr DWORD MFS_MOVEFRAME = 0x0008L;
constexpr DWORD MFS_SYNCACTIVE = 0x0100L;

class CMiniFrameWnd : public CFrameWnd {
public:
    // A popup owned by `owner`, with a small caption and a sizing border.
    bool CreateMini(CWnd* owner, const char* title, DWORD style, const RECT& rect);

protected:
    void PostNcDestroy() override;
    afx_msg LRESULT OnNcHitTest(WPARAM, LPARAM);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
    DECLARE_MESSAGE_MAP()
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
public:
    CMiniDockFrameWnd() : m_wndDockBar(true) {}
    bool Create(CFrameWnd* dockSite, DWORD barStyle);
    // Fits the frame around its bar, takes the bar's text as caption, and shows the frame exactly
    // while its bar is visible.
    void RecalcLayout() override;
    // The window rectangle of a mini frame whose bar takes `inside`.
    static CRect FrameRectFor(const CRect& inside);
    CControlBar* Bar() const;
    // Shown while its bar is visible and its dock site is shown.
    void FollowDockSite() { RecalcLayout(); }

    CDockBar m_wndDockBar;
    CFrameWnd* m_pDockSite = nullptr;

protected:
    afx_msg LRESULT OnNcLButtonDown(WPARAM hitTest, LPARAM point);
    afx_msg LRESULT OnNcLButtonDblClk(WPARAM hitTest, LPARAM point);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    bool m_inLayout = false;
};
