#pragma once
// CFrameWnd: a top-level window with a menu, accelerators, control bars around the edges and one
// view filling the rest. It routes commands view -> frame -> application and applies the update
// rules to its menus when they open and to every command before it runs.
#include <vector>

#include "framework/resource_ids.h"
#include "framework/wnd.h"

class CControlBar;
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
    void ShowControlBar(CControlBar* bar, bool show, bool delay);
    void EnableDocking(DWORD alignment) { m_dockingAlignment = alignment; }
    virtual void DockControlBar(CControlBar* bar, UINT dockBarId = 0);
    virtual void RecalcLayout();

    bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) override;
    bool PreTranslateMessage(MSG* msg) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

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

    CView* m_activeView = nullptr;
    std::vector<CControlBar*> m_controlBars;
    DWORD m_dockingAlignment = 0;
    DWORD m_frameStyles = 0;  // FWS_ bits, kept out of the window's own style
    DECLARE_MESSAGE_MAP()
};
