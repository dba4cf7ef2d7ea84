#pragma once
// Views: the child window that fills a frame and shows its document; the scroll view adds a
// scrollable total size in device pixels (MM_TEXT).
#include "framework/wnd.h"

class CDC;
class CDocument;
struct CCreateContext;

class CView : public CWnd {
public:
    CDocument* GetDocument() const { return m_pDocument; }
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) override;

    virtual void OnInitialUpdate();
    virtual void OnDraw(CDC* dc) {}
    virtual void OnPrepareDC(CDC* dc) {}

protected:
    CDocument* m_pDocument = nullptr;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

class CScrollView : public CView {
public:
    // Sets the scrollable total size; page and line steps default to 1/10 of the total and of the page.
    void SetScrollSizes(int mapMode, CSize total, CSize page = CSize(0, 0), CSize line = CSize(0, 0));
    CSize GetTotalSize() const { return m_total; }
    CPoint GetScrollPosition() const;
    void ScrollToPosition(CPoint position);
    void OnPrepareDC(CDC* dc) override;

protected:
    int m_mapMode = MM_TEXT;
    CSize m_total, m_page, m_line;
    // Shows or hides the scroll bars and clamps the position to what the client area allows.
    void UpdateBars();
    void ScrollAxis(int bar, UINT code);

    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnHScroll(UINT code, UINT pos, HWND scrollBar);
    afx_msg void OnVScroll(UINT code, UINT pos, HWND scrollBar);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    DECLARE_MESSAGE_MAP()
};
