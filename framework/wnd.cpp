#include "framework/wnd.h"

#include <utility>
#include <vector>

#include "framework/frame_wnd.h"
#include "framework/win_app.h"
#include "framework/window_table.h"

namespace {

// The object whose window CreateWindowEx is making right now on this thread.
thread_local CWnd* t_creating = nullptr;

}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
    // An object that goes away before its window must not leave the window pointing at it.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        HWND h = m_hWnd;
        if (m_superWndProc) UnsubclassWindow();
        else Unbind();
        ::DestroyWindow(h);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    return WindowTable::Find(hWnd);
}

void CWnd::Bind(HWND hWnd) {
    m_hWnd = hWnd;
    WindowTable::Add(hWnd, this);
}

void CWnd::Unbind() {
    if (m_hWnd) WindowTable::Remove(m_hWnd, this);
    m_hWnd = nullptr;
}

const char* CWnd::DefaultClassName() {
    static const char name[] = "TessalyWnd";
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = StandardWndProc;
        wc.hInstance = AfxGetResourceHandle();
        wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = name;
        registered = ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }
    return name;
}

bool CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!cs.lpszClass) cs.lpszClass = DefaultClassName();
    return true;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int cx, int cy, HWND parent, UINT idOrMenu, void* createParam) {
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(idOrMenu));
    cs.hInstance = AfxGetResourceHandle();
    cs.lpCreateParams = createParam;
    if (!PreCreateWindow(cs)) return false;

    // A window of our own procedure binds at its very first message (see StandardWndProc); a
    // window of another class is subclassed once it exists.
    t_creating = this;
    HWND h = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx,
                               cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    t_creating = nullptr;
    if (!h) return false;
    if (FromHandlePermanent(h) != this && !SubclassWindow(h)) return false;
    return true;
}

bool CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, void* createParam) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent ? parent->m_hWnd : nullptr,
                    id, createParam);
}

bool CWnd::DestroyWindow() {
    return m_hWnd && ::DestroyWindow(m_hWnd) != 0;
}

bool CWnd::SubclassWindow(HWND hWnd) {
    if (!hWnd || FromHandlePermanent(hWnd)) return false;
    Bind(hWnd);
    m_superWndProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StandardWndProc)));
    return true;
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, id));
}

HWND CWnd::UnsubclassWindow() {
    HWND h = m_hWnd;
    if (h && m_superWndProc)
        ::SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superWndProc));
    m_superWndProc = nullptr;
    Unbind();
    return h;
}

LRESULT CALLBACK CWnd::StandardWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (!wnd && t_creating) {
        wnd = std::exchange(t_creating, nullptr);
        wnd->Bind(hWnd);
    }
    if (!wnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return wnd->Dispatch(message, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage saved = m_current;
    m_current = {message, wParam, lParam};
    LRESULT result = WindowProc(message, wParam, lParam);
    m_current = saved;
    if (message == WM_NCDESTROY) {
        if (m_superWndProc) UnsubclassWindow();
        else Unbind();
        PostNcDestroy();  // may delete this
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return false;
        *result = 0;
        return true;
    }
    if (message == WM_NOTIFY) return OnNotify(wParam, lParam, result);
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC && OnChildCtlColor(message, wParam, lParam, result))
        return true;
    const MessageMapEntry* entry = FindMessageEntry(message);
    if (!entry) return false;
    MessageArgs args{message, wParam, lParam, 0, nullptr, result};
    *result = entry->thunk(this, args);
    return true;
}

bool CWnd::ReflectToChild(HWND child, UINT message, UINT id, int code, void* extra, LRESULT* result) {
    CWnd* control = FromHandlePermanent(child);
    if (!control || control == this) return false;
    return control->DispatchCommand(message, id, code, extra, result, nullptr, true);
}

bool CWnd::OnChildCtlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    LRESULT brush = 0;
    const UINT ctlColor = message - WM_CTLCOLORMSGBOX;  // CTLCOLOR_MSGBOX ... CTLCOLOR_STATIC
    if (!ReflectToChild(reinterpret_cast<HWND>(lParam), WM_REFLECTED_CTLCOLOR, ctlColor, 0,
                        reinterpret_cast<void*>(wParam), &brush) || !brush)
        return false;
    *result = brush;
    return true;
}

bool CWnd::IsCommandEnabled(UINT id) {
    CTestCmdUI state;
    state.m_nID = id;
    OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
    return state.m_bEnabled;
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control && ReflectToChild(control, WM_COMMAND, id, code, nullptr, nullptr)) return true;
    if (!control || code == 0) {
        // A menu item, accelerator or button: its rule is asked again, whatever it came from.
        if (!control) code = CN_COMMAND;
        if (!IsCommandEnabled(id)) return true;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

bool CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectToChild(header->hwndFrom, WM_NOTIFY, static_cast<UINT>(header->idFrom),
                       static_cast<int>(header->code), header, result))
        return true;
    return OnNotifyMsg(static_cast<UINT>(header->idFrom), static_cast<int>(header->code), header, result);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_superWndProc) return ::CallWindowProcA(m_superWndProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(length + 1, '\0');
    text.resize(::GetWindowTextA(m_hWnd, text.data(), length + 1));
    return text;
}

void CWnd::ModifyStyle(DWORD remove, DWORD add) {
    DWORD style = (GetStyle() & ~remove) | add;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
    return ::MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h))
        if (auto* frame = dynamic_cast<CFrameWnd*>(FromHandlePermanent(h))) return frame;
    return nullptr;
}

void CWnd::SendMessageToDescendants(UINT msg, WPARAM wp, LPARAM lp, bool deep) {
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (HWND child : children) {
        ::SendMessageA(child, msg, wp, lp);
        if (deep) {
            if (CWnd* bound = FromHandlePermanent(child)) {
                bound->SendMessageToDescendants(msg, wp, lp, true);
            } else {
                CWnd temp;
                temp.m_hWnd = child;
                temp.SendMessageToDescendants(msg, wp, lp, true);
                temp.m_hWnd = nullptr;
            }
        }
    }
}
