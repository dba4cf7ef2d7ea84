#pragma once
// Message maps: each class keeps a static table binding window messages, commands and their update
// rules to member functions. Tables chain to the base class's table; the first entry that matches wins.
//
//   BEGIN_MESSAGE_MAP(CMyView, CScrollView)
//       ON_WM_TIMER()
//       ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
//       ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
//   END_MESSAGE_MAP()
//
// Each entry carries a small thunk (a captureless lambda written inside the class's own scope, so it
// may call protected and private handlers) that unpacks the message and calls the handler.
#include <windows.h>
#include <commctrl.h>

#include "framework/runtime_class.h"
#include "framework/types.h"

class CCmdTarget;
class CCmdUI;
class CDC;
class CWnd;

#define afx_msg

// Notification codes used on the command route besides the controls' own (BN_CLICKED is 0 too).
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;
// The key under which a control's own colouring sits in its table (the all-kinds WM_CTLCOLOR number
// of old, which the system no longer sends).
constexpr UINT WM_REFLECTED_CTLCOLOR = 0x0019;

// What a thunk receives: the raw message, plus the command id and an extra pointer (CCmdUI* for
// update rules, NMHDR* for notifications) on the command route.
struct MessageArgs {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    UINT id;
    void* extra;
    LRESULT* result;  // for WM_NOTIFY handlers
};

using MessageThunk = LRESULT (*)(CCmdTarget* target, const MessageArgs& args);

struct MessageMapEntry {
    UINT message;  // WM_xxx; WM_COMMAND for commands, updates and control notifications; WM_NOTIFY
    int code;      // command route: CN_COMMAND, CN_UPDATE_COMMAND_UI or a control/notify code
    UINT firstId;
    UINT lastId;
    MessageThunk thunk;
    bool reflected = false;  // handled by the control itself when its parent passes it on
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries;  // ends with an entry whose thunk is null
};

// Filled in when a caller only wants to know whether a command has a handler.
struct HandlerInfo {
    CCmdTarget* target = nullptr;
    const MessageMapEntry* entry = nullptr;
};

class CCmdTarget : public CObject {
public:
    // Routes a command (code CN_COMMAND or a control's notification code) or its update rule
    // (CN_UPDATE_COMMAND_UI, extra = CCmdUI*). Returns true when handled. With `info`, only looks
    // for a handler and reports it without calling it.
    virtual bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info);
    // Routes a WM_NOTIFY notification from control `id`.
    virtual bool OnNotifyMsg(UINT id, int code, NMHDR* header, LRESULT* result);

    // The entry of this object's own tables for a window message, or null.
    const MessageMapEntry* FindMessageEntry(UINT message) const;

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }

    // Looks through this object's own tables for a command-route entry.
    bool DispatchCommand(UINT message, UINT id, int code, void* extra, LRESULT* result,
                         HandlerInfo* info, bool reflected);
};

// The target of an update rule: a menu item, a toolbar button, or only a test before a command runs.
class CCmdUI {
public:
    UINT m_nID = 0;
    UINT m_nIndex = 0;        // position in the menu
    HMENU m_pMenu = nullptr;  // the menu, when updating a menu item
    CWnd* m_pOther = nullptr; // the control bar, when updating one of its buttons
    bool m_bEnableChanged = false;

    virtual ~CCmdUI() = default;
    virtual void Enable(bool on = true);
    virtual void SetCheck(int check = 1);
    virtual void SetRadio(bool on = true) { SetCheck(on ? 1 : 0); }
    virtual void SetText(const char* text);

    // Routes the update rule to `target`; with no rule and `disableIfNoHandler`, the item is
    // disabled when nobody handles the command at all. Returns true when a rule answered.
    bool DoUpdate(CCmdTarget* target, bool disableIfNoHandler);
};

// Only records the answer: used to check a command's rule right before it runs.
class CTestCmdUI : public CCmdUI {
public:
    bool m_bEnabled = true;
    int m_nCheck = 0;
    void Enable(bool on = true) override { m_bEnabled = on; m_bEnableChanged = true; }
    void SetCheck(int check = 1) override { m_nCheck = check; }
    void SetText(const char*) override {}
};

// ---- table macros -------------------------------------------------------------------------------

#define DECLARE_MESSAGE_MAP()                                            \
protected:                                                               \
    static const MessageMap* GetThisMessageMap();                        \
    const MessageMap* GetMessageMap() const override { return GetThisMessageMap(); }

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                           \
    const MessageMap* theClass::GetThisMessageMap() {                    \
        using ThisClass [[maybe_unused]] = theClass;                     \
        using TheBaseClass [[maybe_unused]] = baseClass;                 \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                \
            {0, 0, 0, 0, nullptr}};                                      \
        static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                     \
    }

#define TESSALY_THUNK(body) \
    [](CCmdTarget* target_, const MessageArgs& a) -> LRESULT { \
        auto* self = static_cast<ThisClass*>(target_); (void)self; (void)a; body }

// Commands, update rules and control notifications (all on the command route).
#define ON_COMMAND(id, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), TESSALY_THUNK(self->fn(); return 0;)},
#define ON_COMMAND_RANGE(first, last, fn) \
    {WM_COMMAND, CN_COMMAND, (UINT)(first), (UINT)(last), TESSALY_THUNK(self->fn(a.id); return 0;)},
#define ON_UPDATE_COMMAND_UI(id, fn)                                    \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id),          \
     TESSALY_THUNK(self->fn(static_cast<CCmdUI*>(a.extra)); return 0;)},
#define ON_UPDATE_COMMAND_UI_RANGE(first, last, fn)                     \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(first), (UINT)(last),     \
     TESSALY_THUNK(self->fn(static_cast<CCmdUI*>(a.extra)); return 0;)},
#define ON_CONTROL(code, id, fn) \
    {WM_COMMAND, (int)(code), (UINT)(id), (UINT)(id), TESSALY_THUNK(self->fn(); return 0;)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_NOTIFY(code, id, fn)                                         \
    {WM_NOTIFY, (int)(code), (UINT)(id), (UINT)(id),                    \
     TESSALY_THUNK(self->fn(static_cast<NMHDR*>(a.extra), a.result); return 0;)},
// Notifications a control handles itself, when its parent passes them back to it.
#define ON_NOTIFY_REFLECT(code, fn)                                     \
    {WM_NOTIFY, (int)(code), 0, 0xFFFF,                                 \
     TESSALY_THUNK(self->fn(static_cast<NMHDR*>(a.extra), a.result); return 0;), true},
#define ON_CONTROL_REFLECT(code, fn) \
    {WM_COMMAND, (int)(code), 0, 0xFFFF, TESSALY_THUNK(self->fn(); return 0;), true},
#define ON_STN_CLICKED_REFLECT(fn) ON_CONTROL_REFLECT(STN_CLICKED, fn)
// A control colours itself: its parent's WM_CTLCOLORxxx comes back to it as
// HBRUSH CtlColor(HDC dc, UINT ctlColor) (CTLCOLOR_STATIC, ...); a null brush leaves the parent to it.
#define ON_WM_CTLCOLOR_REFLECT()                                        \
    {WM_REFLECTED_CTLCOLOR, 0, 0, 0xFFFF,                                         \
     TESSALY_THUNK(*a.result = (LRESULT)self->CtlColor((HDC)a.extra, a.id); return 0;), true},

// Window messages.
#define ON_MESSAGE(msg, fn) \
    {(UINT)(msg), 0, 0, 0, TESSALY_THUNK(return self->fn(a.wParam, a.lParam);)},
// A message whose number RegisterWindowMessage gives at run time (the table is built on first use).
#define ON_REGISTERED_MESSAGE(numberExpr, fn) ON_MESSAGE(numberExpr, fn)
#define ON_WM_CREATE() \
    {WM_CREATE, 0, 0, 0, TESSALY_THUNK(return (LRESULT)self->OnCreate((LPCREATESTRUCT)a.lParam);)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, TESSALY_THUNK(self->OnDestroy(); return 0;)},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, TESSALY_THUNK(self->OnClose(); return 0;)},
#define ON_WM_SIZE() \
    {WM_SIZE, 0, 0, 0, TESSALY_THUNK(self->OnSize((UINT)a.wParam, (short)LOWORD(a.lParam), (short)HIWORD(a.lParam)); return 0;)},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, TESSALY_THUNK(self->OnTimer((UINT_PTR)a.wParam); return 0;)},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, TESSALY_THUNK(self->OnPaint(); return 0;)},
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, 0, TESSALY_THUNK(return (LRESULT)self->OnEraseBkgnd((HDC)a.wParam);)},
#define ON_WM_HSCROLL() \
    {WM_HSCROLL, 0, 0, 0, TESSALY_THUNK(self->OnHScroll(LOWORD(a.wParam), HIWORD(a.wParam), (HWND)a.lParam); return 0;)},
#define ON_WM_VSCROLL() \
    {WM_VSCROLL, 0, 0, 0, TESSALY_THUNK(self->OnVScroll(LOWORD(a.wParam), HIWORD(a.wParam), (HWND)a.lParam); return 0;)},
#define TESSALY_MOUSE(msg, fn) \
    {msg, 0, 0, 0, TESSALY_THUNK(self->fn((UINT)a.wParam, CPoint(a.lParam)); return 0;)},
#define ON_WM_LBUTTONDOWN() TESSALY_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() TESSALY_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() TESSALY_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() TESSALY_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() TESSALY_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MOUSEMOVE() TESSALY_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSEWHEEL() \
    {WM_MOUSEWHEEL, 0, 0, 0, TESSALY_THUNK(return (LRESULT)self->OnMouseWheel(LOWORD(a.wParam), (short)HIWORD(a.wParam), CPoint(a.lParam));)},
#define ON_WM_SETCURSOR() \
    {WM_SETCURSOR, 0, 0, 0, TESSALY_THUNK(return (LRESULT)self->OnSetCursor((HWND)a.wParam, LOWORD(a.lParam), HIWORD(a.lParam));)},
#define ON_WM_KEYDOWN() \
    {WM_KEYDOWN, 0, 0, 0, TESSALY_THUNK(self->OnKeyDown((UINT)a.wParam, LOWORD(a.lParam), HIWORD(a.lParam)); return 0;)},
#define ON_WM_HOTKEY() \
    {WM_HOTKEY, 0, 0, 0, TESSALY_THUNK(self->OnHotKey((UINT)a.wParam, LOWORD(a.lParam), HIWORD(a.lParam)); return 0;)},
#define ON_WM_INITMENUPOPUP() \
    {WM_INITMENUPOPUP, 0, 0, 0, TESSALY_THUNK(self->OnInitMenuPopup((HMENU)a.wParam, LOWORD(a.lParam), HIWORD(a.lParam)); return 0;)},
#define ON_WM_QUERYENDSESSION() \
    {WM_QUERYENDSESSION, 0, 0, 0, TESSALY_THUNK(return (LRESULT)self->OnQueryEndSession();)},
#define ON_WM_ENDSESSION() \
    {WM_ENDSESSION, 0, 0, 0, TESSALY_THUNK(self->OnEndSession(a.wParam != 0); return 0;)},
#define ON_WM_SETFOCUS() {WM_SETFOCUS, 0, 0, 0, TESSALY_THUNK(self->OnSetFocus((HWND)a.wParam); return 0;)},
#define ON_WM_KILLFOCUS() {WM_KILLFOCUS, 0, 0, 0, TESSALY_THUNK(self->OnKillFocus((HWND)a.wParam); return 0;)},
#define ON_WM_COPYDATA() \
    {WM_COPYDATA, 0, 0, 0, TESSALY_THUNK(return (LRESULT)self->OnCopyData((HWND)a.wParam, (COPYDATASTRUCT*)a.lParam);)},
#define ON_WM_SHOWWINDOW() \
    {WM_SHOWWINDOW, 0, 0, 0, TESSALY_THUNK(self->OnShowWindow(a.wParam != 0, (UINT)a.lParam); return 0;)},
#define ON_WM_GETMINMAXINFO() \
    {WM_GETMINMAXINFO, 0, 0, 0, TESSALY_THUNK(self->OnGetMinMaxInfo((MINMAXINFO*)a.lParam); return 0;)},
