#pragma once
// GDI wrappers: each object owns at most one handle and gives it back when it goes (move-only).
//
// CBitmap is also handed across library boundaries to the capture agents, which replace its image
// (DeleteObject, then Attach). Everything here is inline and without virtual functions so that the
// program and every library see the same object, whichever copy of the code runs.
#include <windows.h>

#include <utility>

#include "framework/types.h"

class CWnd;

class CGdiObject {
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept : m_hObject(other.Detach()) {}
    CGdiObject& operator=(CGdiObject&& other) noexcept {
        if (this != &other) Attach(other.Detach());
        return *this;
    }

    // Destroys the handle held, if any; true when one was destroyed.
    bool DeleteObject() {
        if (!m_hObject) return false;
        bool ok = ::DeleteObject(m_hObject) != 0;
        m_hObject = nullptr;
        return ok;
    }
    // Takes ownership of `h`. A handle already held is destroyed first, so none ever leaks.
    bool Attach(HGDIOBJ h) {
        if (h == m_hObject) return h != nullptr;
        DeleteObject();
        m_hObject = h;
        return h != nullptr;
    }
    // Gives up ownership without destroying.
    HGDIOBJ Detach() { return std::exchange(m_hObject, nullptr); }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    int GetObject(int size, void* out) const {
        return m_hObject ? ::GetObjectA(m_hObject, size, out) : 0;
    }
    explicit operator bool() const { return m_hObject != nullptr; }
};

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    bool CreateCompatibleBitmap(HDC dc, int width, int height) {
        return Attach(::CreateCompatibleBitmap(dc, width, height));
    }
    bool CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    // Width, height and depth of the bitmap held; false when there is none.
    bool GetBitmap(BITMAP* out) const { return GetObject(sizeof(BITMAP), out) != 0; }
    CSize GetSize() const {
        BITMAP bm{};
        return GetBitmap(&bm) ? CSize(bm.bmWidth, bm.bmHeight) : CSize();
    }
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
    bool CreatePen(int style, int width, COLORREF color) {
        return Attach(::CreatePen(style, width, color));
    }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    bool CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
};

class CFont : public CGdiObject {
public:
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
    bool CreateFontIndirect(const LOGFONTA& lf) { return Attach(::CreateFontIndirectA(&lf)); }
};

class CPalette : public CGdiObject {
public:
    operator HPALETTE() const { return static_cast<HPALETTE>(m_hObject); }
    bool CreatePalette(const LOGPALETTE* lp) { return Attach(::CreatePalette(lp)); }
};

// A device context. CDC itself owns a memory context (CreateCompatibleDC) or wraps one it was
// handed (Borrow); the subclasses below give back window contexts the way they were obtained.
class CDC {
public:
    HDC m_hDC = nullptr;

    CDC() = default;
    virtual ~CDC() { if (m_owned && m_hDC) ::DeleteDC(m_hDC); }
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    static CDC Borrow(HDC dc) {
        CDC wrapper;
        wrapper.m_hDC = dc;
        return wrapper;
    }
    CDC(CDC&& other) noexcept
        : m_hDC(std::exchange(other.m_hDC, nullptr)), m_owned(std::exchange(other.m_owned, false)) {}

    bool CreateCompatibleDC(HDC other) {
        if (m_owned && m_hDC) ::DeleteDC(m_hDC);
        m_hDC = ::CreateCompatibleDC(other);
        m_owned = m_hDC != nullptr;
        return m_owned;
    }
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
    bool BitBlt(int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
        return ::BitBlt(m_hDC, x, y, w, h, src, sx, sy, rop) != 0;
    }
    bool StretchBlt(int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh, DWORD rop) {
        return ::StretchBlt(m_hDC, x, y, w, h, src, sx, sy, sw, sh, rop) != 0;
    }
    bool PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop) != 0; }
    void FillSolidRect(const RECT& r, COLORREF color) {
        COLORREF old = ::SetBkColor(m_hDC, color);
        ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
        ::SetBkColor(m_hDC, old);
    }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

protected:
    bool m_owned = false;
};

// The client-area context of a window (GetDC/ReleaseDC).
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND wnd) : m_wnd(wnd) { m_hDC = ::GetDC(wnd); }
    ~CClientDC() override { if (m_hDC) ::ReleaseDC(m_wnd, m_hDC); m_hDC = nullptr; }

private:
    HWND m_wnd;
};

// The whole-window context (GetWindowDC/ReleaseDC); with no window, the screen.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(HWND wnd) : m_wnd(wnd) { m_hDC = ::GetWindowDC(wnd); }
    ~CWindowDC() override { if (m_hDC) ::ReleaseDC(m_wnd, m_hDC); m_hDC = nullptr; }

private:
    HWND m_wnd;
};

// The context of a WM_PAINT (BeginPaint/EndPaint).
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};

private:
    HWND m_wnd;
};

// Selects an object into a context and restores the previous one when it goes out of scope.
class CSelectGuard {
public:
    CSelectGuard(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(object ? ::SelectObject(dc, object) : nullptr) {}
    ~CSelectGuard() { if (m_old) ::SelectObject(m_dc, m_old); }
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};
