#pragma once
// A bitmap compatible with the screen, kept selected into a memory context of its own, so that it
// can be drawn into and copied from for as long as it lives. Owns both handles (move-less, copy
// deleted): the bitmap leaves the context before either is destroyed.
#include <windows.h>

class MemoryCanvas {
public:
    MemoryCanvas() = default;
    ~MemoryCanvas() { Release(); }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    // Makes a `width` x `height` canvas in the format of `like` (the screen, or another canvas).
    bool Create(HDC like, int width, int height) {
        Release();
        if (width <= 0 || height <= 0) return false;
        dc_ = ::CreateCompatibleDC(like);
        bitmap_ = ::CreateCompatibleBitmap(like, width, height);
        if (!dc_ || !bitmap_) {
            Release();
            return false;
        }
        original_ = ::SelectObject(dc_, bitmap_);
        return true;
    }
    void Release() {
        if (dc_ && original_) ::SelectObject(dc_, original_);
        if (dc_) ::DeleteDC(dc_);
        if (bitmap_) ::DeleteObject(bitmap_);
        dc_ = nullptr;
        bitmap_ = nullptr;
        original_ = nullptr;
    }
    HDC Dc() const { return dc_; }
    explicit operator bool() const { return original_ != nullptr; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;  // what the context held before the bitmap
};
