#pragma once
// Control bars: windows the frame lays out along its edges (status bar, toolbar, docked panes).
// A bar that may dock lives in one of the frame's dock bars, in a row, or floats in a mini frame;
// the docking machinery asks it for its size through CalcFixedLayout and CalcDynamicLayout.
#include "framework/frame_wnd.h"

class CDockBar;
class CDockContext;

// Bar style bits besides the alignment ones (the bar's own style, kept apart from the window's).
constexpr DWORD CBRS_NOALIGN = 0x0000L;
constexpr DWORD CBRS_FLOATING = 0x0001L;
constexpr DWORD CBRS_BORDER_LEFT = 0x0100L;
constexpr DWORD CBRS_BORDER_TOP = 0x0200L;
constexpr DWORD CBRS_BORDER_RIGHT = 0x0400L;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800L;
constexpr DWORD CBRS_BORDER_ANY = 0x0F00L;
constexpr DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
constexpr DWORD CBRS_GRIPPER = 0x00400000L;
constexpr DWORD CBRS_ALL = 0x0040FFFFL;

// What CalcDynamicLayout is asked for.
constexpr DWORD LM_STRETCH = 0x01;   // as long as the frame allows
constexpr DWORD LM_HORZ = 0x02;      // horizontal, else vertical
constexpr DWORD LM_MRUWIDTH = 0x04;  // the most recent floating size
constexpr DWORD LM_HORZDOCK = 0x08;  // docked at the top or bottom
constexpr DWORD LM_VERTDOCK = 0x10;  // docked at the left or right
constexpr DWORD LM_LENGTHY = 0x20;   // `length` is a height, else a width
constexpr DWORD LM_COMMIT = 0x40;    // the size is final: remember it

class CControlBar : public CWnd {
public:
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style);
    // The sides the bar may dock at (CBRS_ALIGN_ bits); gives it a dock context for dragging.
    void EnableDocking(DWORD alignment);
    DWORD DockAlignment() const { return m_dwDockStyle; }
    // The edge the bar sits on: CBRS_ALIGN_TOP, _BOTTOM, _LEFT or _RIGHT.
    DWORD Edge() const;
    bool IsFloating() const;
    virtual bool IsDockBar() const { return false; }
    // Visible once delayed shows and hides have taken effect.
    bool IsVisible() const;
    // Shows or hides the bar at the next layout of its frame.
    void DelayShow(bool show);
    // Lets a delayed show or hide take effect, inside `batch` when one is given.
    void RecalcDelayShow(HDWP* batch);

    // The bar's size for the docking machinery: stretched to the frame's length, or its own.
    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horizontal);
    // The bar's size for a length and mode (LM_ bits); bars without their own answer the fixed one.
    virtual CSize CalcDynamicLayout(int length, DWORD mode);
    // Called at idle time to bring the bar's buttons in line with their update rules.
    virtual void OnUpdateCmdUI(CFrameWnd* target, bool disableIfNoHandler) {}
    // The frame's layout offers the area left over; a bar on the frame's own edge takes its band
    // and (unless `batch` is null: a query) moves there.
    virtual void PositionInLayout(CRect& area, HDWP* batch);

    // The frame the bar docks in (also while it floats), its dock bar, and its dock context.
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;

    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    // Registers the bar with its frame (bars made from system controls call this themselves; our
    // own bars register at WM_CREATE).
    void AttachToFrame(CFrameWnd* frame, DWORD barStyle);
    virtual void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) {}
    void PostNcDestroy() override;
    void Detach();

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);

    DWORD m_dwStyle = 0;      // CBRS_ bits
    DWORD m_dwDockStyle = 0;  // where it may dock
    enum : UINT { kDelayHide = 0x1, kDelayShow = 0x2 };
    UINT m_nStateFlags = 0;

    friend class CFrameWnd;
    friend class CDockBar;
    DECLARE_MESSAGE_MAP()
};
