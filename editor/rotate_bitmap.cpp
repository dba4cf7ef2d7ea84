#include "editor/rotate_bitmap.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "editor/rotation.h"

namespace {

struct FreeDeleter {
    void operator()(uint8_t* p) const { std::free(p); }
};
using Buffer = std::unique_ptr<uint8_t, FreeDeleter>;

Buffer Allocate(int width, int height) {
    size_t bytes = Rotation::BufferBytes24(width, height);
    return Buffer(bytes ? static_cast<uint8_t*>(std::malloc(bytes)) : nullptr);
}

BITMAPINFO Header24(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

HBITMAP RotateBitmap(HBITMAP bitmap, int code) {
    BITMAP bm{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth < 1 || bm.bmHeight < 1) return nullptr;
    const int w = bm.bmWidth, h = bm.bmHeight;
    const Rotation::Size turned = Rotation::Turned(w, h, code);

    Buffer source = Allocate(w, h);
    if (!source) return nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP result = nullptr;
    BITMAPINFO info = Header24(w, h);
    if (memory && ::GetDIBits(memory, bitmap, 0, h, source.get(), &info, DIB_RGB_COLORS) == h) {
        // Made while the source is selected, so the new bitmap takes the source's format.
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        result = ::CreateCompatibleBitmap(memory, turned.width, turned.height);
        ::SelectObject(memory, old);
    }
    if (result) {
        Buffer target = Allocate(turned.width, turned.height);
        bool written = false;
        if (target) {
            Rotation::Turn24(source.get(), w, h, code, target.get());
            source.reset();  // the source rows are no longer needed: give the memory back early
            info = Header24(turned.width, turned.height);
            written = ::SetDIBits(memory, result, 0, turned.height, target.get(), &info, DIB_RGB_COLORS) ==
                      turned.height;
        }
        if (!written) {
            ::DeleteObject(result);
            result = nullptr;
        }
    }
    if (memory) ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return result;
}
