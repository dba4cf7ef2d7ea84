#include "framework/bar_drawing.h"

void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    auto fill = [dc](int l, int t, int w, int h, COLORREF color) {
        RECT part{l, t, l + w, t + h};
        COLORREF old = ::SetBkColor(dc, color);
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &part, nullptr, 0, nullptr);
        ::SetBkColor(dc, old);
    };
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    fill(r.left, r.top, w - 1, 1, topLeft);
    fill(r.left, r.top, 1, h - 1, topLeft);
    fill(r.right - 1, r.top, 1, h, bottomRight);
    fill(r.left, r.bottom - 1, w, 1, bottomRight);
}

HBRUSH HalftoneBrush() {
    static HBRUSH brush = [] {
        WORD pattern[8];
        for (int i = 0; i < 8; ++i) pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
        HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
        HBRUSH b = ::CreatePatternBrush(bitmap);
        ::DeleteObject(bitmap);
        return b;
    }();
    return brush;
}

void InvertHalftoneRect(HDC dc, const RECT& r) {
    HGDIOBJ old = ::SelectObject(dc, HalftoneBrush());
    ::PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATINVERT);
    ::SelectObject(dc, old);
}

void InvertHalftoneFrame(HDC dc, const RECT& r, int thickness) {
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    int t = thickness;
    if (2 * t >= w || 2 * t >= h) {
        InvertHalftoneRect(dc, r);
        return;
    }
    InvertHalftoneRect(dc, RECT{r.left, r.top, r.right, r.top + t});
    InvertHalftoneRect(dc, RECT{r.left, r.bottom - t, r.right, r.bottom});
    InvertHalftoneRect(dc, RECT{r.left, r.top + t, r.left + t, r.bottom - t});
    InvertHalftoneRect(dc, RECT{r.right - t, r.top + t, r.right, r.bottom - t});
}

CScreenTrackerDC::CScreenTrackerDC() : m_desktop(::GetDesktopWindow()) {
    // Locked, nothing else paints over the tracker while it is shown.
    m_locked = ::LockWindowUpdate(m_desktop) != 0;
    m_dc = ::GetDCEx(m_desktop, nullptr, DCX_WINDOW | DCX_CACHE | (m_locked ? DCX_LOCKWINDOWUPDATE : 0));
    if (!m_dc) m_dc = ::GetDC(nullptr);
}

CScreenTrackerDC::~CScreenTrackerDC() {
    if (m_dc) ::ReleaseDC(m_desktop, m_dc);
    if (m_locked) ::LockWindowUpdate(nullptr);
}
