#pragma once
// CWnd: a C++ object bound to one window for the window's life.
//
// Our windows are created with `this` in CreateWindowEx's last argument and bound at WM_NCCREATE;
// system controls are bound by subclassing; dialogs bind at WM_INITDIALOG. The binding is undone at
// WM_NCDESTROY, after which PostNcDestroy runs (views and frames delete themselves there).
#include <string>

#include "framework/message_map.h"

class CFrameWnd;

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object bound to `hWnd` by this module, or null: a window of another program, or one we
    // never bound, finds nothing whatever it carries.
    static CWnd* FromHandlePermanent(HWND hWnd);
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creates a window of a class registered by the framework (className null) or of any class.
    virtual bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                          int x, int y, int cx, int cy, HWND parent, UINT idOrMenu,
                          void* createParam = nullptr);
    bool CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT idOrMenu, void* createParam = nullptr) {
        return CreateEx(exStyle, className, windowName, style, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, parent, idOrMenu, createParam);
    }
    bool Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id, void* createParam = nullptr);
    virtual bool PreCreateWindow(CREATESTRUCTA& cs);
    virtual bool DestroyWindow();

    // Binds this object to an existing window (a system control) by replacing its procedure.
    bool SubclassWindow(HWND hWnd);
    bool SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    // Message handling.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing of the message being handled now.
    LRESULT Default();
    virtual bool PreTranslateMessage(MSG* msg) { return false; }
    virtual void PostNcDestroy() {}
    // Checks a command's update rule before it runs; a command whose rule says disabled never runs.
    bool IsCommandEnabled(UINT id);

    // Wrappers of the plain calls.
    bool ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow) != 0; }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != 0; }
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    std::string GetWindowText() const;
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void MoveWindow(const RECT& r, bool repaint = true) {
        ::MoveWindow(m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
    }
    bool SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags) != 0;
    }
    void Invalidate(bool erase = true) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(const RECT* r, bool erase = true) { ::InvalidateRect(m_hWnd, r, erase); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    bool KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id) != 0; }
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return ::SendMessageA(m_hWnd, msg, wp, lp); }
    bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) { return ::PostMessageA(m_hWnd, msg, wp, lp) != 0; }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(UINT id) const { return ::GetDlgItem(m_hWnd, id); }
    UINT GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    void EnableWindow(bool on = true) { ::EnableWindow(m_hWnd, on); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
    void ModifyStyle(DWORD remove, DWORD add);
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);
    // The frame this window lives in (its nearest bound CFrameWnd ancestor), or null.
    CFrameWnd* GetParentFrame() const;
    // Sends a message to every descendant window (children first level, then theirs).
    void SendMessageToDescendants(UINT msg, WPARAM wp = 0, LPARAM lp = 0, bool deep = true);

    // The default window class the framework registers for its own windows.
    static const char* DefaultClassName();

protected:
    WNDPROC m_superWndProc = nullptr;  // the system procedure of a subclassed control

    // The message being dispatched now, for Default().
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    CurrentMessage m_current{};

    static LRESULT CALLBACK StandardWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Bind(HWND hWnd);
    void Unbind();
    // Runs WindowProc with the current-message record kept for Default().
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    // Gives a child control the chance to handle its own notification.
    bool ReflectToChild(HWND child, UINT message, UINT id, int code, void* extra, LRESULT* result);
    // Lets a control that colours itself answer its parent's WM_CTLCOLORxxx.
    bool OnChildCtlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    friend class CDialog;
    DECLARE_MESSAGE_MAP()
};
