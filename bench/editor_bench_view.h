#pragma once
// What the editor's Windows benchmarks share: the view's part played by a full-screen window with the
// scroll state in members, and a way to wait until what was drawn has reached the screen.
#include <windows.h>

#include <cstdio>

#include "editor/editor_host.h"

class BenchView : public EditorHost {
public:
    explicit BenchView(const char* title) {
        int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
        window = ::CreateWindowExA(0, "STATIC", title, WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    }
    ~BenchView() { ::DestroyWindow(window); }
    BenchView(const BenchView&) = delete;
    BenchView& operator=(const BenchView&) = delete;

    HWND window;
    CSize total;
    CPoint scroll;
    HWND EditorWindow() const override { return window; }
    CSize ScrollTotal() const override { return total; }
    void SetScrollTotal(CSize t) override { total = t; }
    CPoint ScrollPosition() const override { return scroll; }
    void ScrollTo(CPoint p) override { scroll = p; }
    void SetStatusPane(int, const char*) override {}
    void ShowMessage(const char* text, const char*, UINT) override { std::fprintf(stderr, "%s\n", text); }
};

// Everything drawn so far has reached the screen: reading a pixel back waits for it.
inline void Settle(HWND window) {
    ::GdiFlush();
    HDC dc = ::GetDC(window);
    ::GetPixel(dc, 0, 0);
    ::ReleaseDC(window, dc);
}
