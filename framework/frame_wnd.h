#pragma once
// CFrameWnd: a top-level window with a menu, accelerators, control bars around the edges and one
// view filling the rest. It routes commands view -> frame -> application and applies the update
// rules to its menus when they open and to every command before it runs.
#include <vector>

#include "framework/resource_ids.h"
#include "framework/wnd.h"

class CControlBar;
class CDockBar;
class CMiniDockFrameWnd;
class CDocument;
class CView;
struct CCreateContext;

// Frame style bit: add the document's name to the title (removed before the window is made).
constexpr DWORD FWS_ADDTOTITLE = 0x00008000L;

// Where control bars may sit and dock.
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000L;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000L;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000L;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000L;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000L;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP;
constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM;
constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT;
constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT;
constexpr DWORD CBRS_TOOLTIPS = 0x0010L;
constexpr DWORD CBRS_FLYBY = 0x0020L;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0080L;

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr;
    bool m_bAutoMenuEnable = true;  // items without rule or handler are shown disabled

    // Creates the frame from resource `resourceId` (menu, accelerators, icon, title string).
    virtual bool LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context);
    bool PreCreateWindow(CREATESTRUCTA& cs) override;
    // Runs the view's initial update, then shows the frame as the application's show command says.
    virtual void InitialUpdateFrame(CDocument* doc, bool makeVisible);
    virtual void ActivateFrame(int cmdShow = -1);

    CView* GetActiveView() const { return m_activeView; }
    void SetActiveView(CView* view) { m_activeView = view; }

    // Control bars: registered by their creation, laid out around the view by RecalcLayout.
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    const std::vector<CControlBar*>& ControlBars() const { return m_controlBars; }
    // Shows or hides a bar, docked or floating; with `delay`, at the next layout.
    void ShowControlBar(CControlBar* bar, bool show, bool delay);

    // Docking (frame_docking.cpp): a dock bar on each side allowed (CBRS_ALIGN_ bits).
    void EnableDocking(DWORD alignment);
    CDockBar* GetDockBar(UINT dockBarId) const;
    // Docks `bar` into dock bar `dockBarId` (0: the first side both allow), at the place of
    // `screenRect` when one is given, else in a new row at the end.
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, const RECT* screenRect = nullptr);
    void DockControlBar(CControlBar* bar, CDockBar* dockBar, const RECT* screenRect = nullptr);
    // Floats `bar` in a mini frame of its own whose top-left corner is `screenPoint`.
    void FloatControlBar(CControlBar* bar, CPoint screenPoint, DWORD barStyle);
    void RemoveMiniFrame(CMiniDockFrameWnd* miniFrame);

    virtual void RecalcLayout();
    // Asks for a layout once the current message is done (several requests make one layout).
    void DelayRecalcLayout();
    // Lays out the bars around the first pane; `query` only computes the area left for the pane.
    enum RepositionFlags : UINT { reposDefault = 0, reposQuery = 1 };
    void RepositionBars(UINT firstId, UINT lastId, UINT leftOverId, UINT flags = reposDefault,
                        RECT* leftOver = nullptr);

    bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) override;
    bool PreTranslateMessage(MSG* msg) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    virtual bool OnCreateClient(LPCREATESTRUCT cs, CCreateContext* context);
    CView* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnInitMenuPopup(HMENU popup, UINT index, BOOL sysMenu);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM, LPARAM);
    afx_msg BOOL OnEraseBkgnd(HDC) { return TRUE; }  // the view and the bars cover the client area
    afx_msg LRESULT OnDelayedLayout(WPARAM, LPARAM);
    afx_msg LRESULT OnSettingChange(WPARAM, LPARAM);
    afx_msg LRESULT OnWindowPosChanged(WPARAM, LPARAM pos);
    // The answer to a toolbar button's tooltip: the second half of its command's string.
    bool AnswerToolTip(NMHDR* header);

    CView* m_activeView = nullptr;
    std::vector<CControlBar*> m_controlBars;
    std::vector<CMiniDockFrameWnd*> m_miniFrames;
    CDockBar* m_dockBars[4] = {};  // top, bottom, left, right once docking is enabled; owned
    DWORD m_dockingAlignment = 0;
    bool m_layoutPending = false;
    bool m_inRecalcLayout = false;
    DWORD m_frameStyles = 0;  // FWS_ bits, kept out of the window's own style
    DECLARE_MESSAGE_MAP()
};
