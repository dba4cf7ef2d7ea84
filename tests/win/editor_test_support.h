#pragma once
// What the editor's Windows tests share: bitmaps with known pixels, reading pixels back, and a
// stand-in for the view (a plain window, its scroll state and status panes kept in members).
#include <windows.h>

#include <string>
#include <vector>

#include "editor/editor_host.h"
#include "framework/gdi.h"

namespace editor_test {

// A colour that names a pixel of a picture (unique for x, y below 4096).
inline COLORREF Named(int x, int y) { return RGB(x & 0xFF, y & 0xFF, ((x >> 8) & 0xF) << 4 | ((y >> 8) & 0xF)); }

// A screen-compatible bitmap whose every pixel is Named(x, y).
inline HBITMAP NamedBitmap(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::ReleaseDC(nullptr, screen);
    // Pixels go in through a DIB: SetPixel one by one would be slow for larger pictures.
    std::vector<uint32_t> rows(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            COLORREF c = Named(x, y);
            rows[static_cast<size_t>(y) * width + x] = GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
        }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    HDC memory = ::CreateCompatibleDC(nullptr);
    ::SetDIBits(memory, bitmap, 0, height, rows.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(memory);
    return bitmap;
}

inline COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    COLORREF c = ::GetPixel(memory, x, y);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return c;
}

inline CSize SizeOf(HBITMAP bitmap) {
    BITMAP bm{};
    ::GetObjectA(bitmap, sizeof bm, &bm);
    return CSize(bm.bmWidth, bm.bmHeight);
}

// The view's part for the editor objects: a real window for device contexts, everything else in
// members a test can read and set.
class FakeView : public EditorHost {
public:
    FakeView() {
        window = ::CreateWindowExA(0, "STATIC", "editor test", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    }
    ~FakeView() { ::DestroyWindow(window); }

    HWND window;
    CSize total;
    CPoint scroll;
    std::string panes[3];
    std::vector<std::string> messages;

    HWND EditorWindow() const override { return window; }
    CSize ScrollTotal() const override { return total; }
    void SetScrollTotal(CSize t) override {
        total = t;
        ScrollTo(scroll);
    }
    CPoint ScrollPosition() const override { return scroll; }
    void ScrollTo(CPoint p) override {
        // Kept within the range the client area allows, as the scroll view does.
        RECT client;
        ::GetClientRect(window, &client);
        LONG maxX = total.cx - client.right, maxY = total.cy - client.bottom;
        scroll.x = p.x > maxX ? maxX : p.x;
        scroll.y = p.y > maxY ? maxY : p.y;
        if (scroll.x < 0) scroll.x = 0;
        if (scroll.y < 0) scroll.y = 0;
    }
    void SetStatusPane(int pane, const char* text) override { panes[pane] = text; }
    void ShowMessage(const char* text, const char* caption, UINT) override {
        messages.push_back(std::string(caption) + ": " + text);
    }
};

}  // namespace editor_test
