#include "editor/bitmap_ops.h"

#include <algorithm>

namespace BitmapOps {

CSize SizeOf(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm)) return CSize();
    return CSize(bm.bmWidth, bm.bmHeight);
}

int BitsOf(HBITMAP bitmap) {
    BITMAP bm{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm)) return 0;
    return bm.bmPlanes * bm.bmBitsPixel;
}

CBitmap MakeCompatible(HWND window, int width, int height) {
    CBitmap made;
    if (width < 1 || height < 1) return made;
    CClientDC dc(window);
    made.CreateCompatibleBitmap(dc, width, height);
    return made;
}

CBitmap CopyOf(HBITMAP source, HWND window) {
    CSize size = SizeOf(source);
    CBitmap copy = MakeCompatible(window, size.cx, size.cy);
    if (!copy) return copy;
    CClientDC client(window);
    CDC from, to;
    if (!from.CreateCompatibleDC(client) || !to.CreateCompatibleDC(client)) return CBitmap();
    CSelectGuard keepFrom(from, source);
    CSelectGuard keepTo(to, copy.GetSafeHandle());
    to.BitBlt(0, 0, size.cx, size.cy, from, 0, 0, SRCCOPY);
    return copy;
}

bool CopyBitmap(HBITMAP source, CBitmap& destination, HWND window) {
    CBitmap copy = CopyOf(source, window);
    if (!copy) return false;
    destination = std::move(copy);
    return true;
}

CBitmap CopyArea(HBITMAP source, HWND window, const SelectionRules::Selection& area) {
    CBitmap copy = MakeCompatible(window, area.Width(), area.Height());
    if (!copy) return copy;
    CClientDC client(window);
    CDC from, to;
    if (!from.CreateCompatibleDC(client) || !to.CreateCompatibleDC(client)) return CBitmap();
    CSelectGuard keepTo(to, copy.GetSafeHandle());
    to.PatBlt(0, 0, area.Width(), area.Height(), BLACKNESS);
    // Only the part that lies on the image is copied: a blit from outside a bitmap is undefined.
    CSize size = SizeOf(source);
    int left = std::max(area.left, 0), top = std::max(area.top, 0);
    int right = std::min(area.right + 1, static_cast<int>(size.cx));
    int bottom = std::min(area.bottom + 1, static_cast<int>(size.cy));
    if (left < right && top < bottom) {
        CSelectGuard keepFrom(from, source);
        to.BitBlt(left - area.left, top - area.top, right - left, bottom - top, from, left, top, SRCCOPY);
    }
    return copy;
}

bool IsCompatibleWith(HBITMAP bitmap, HWND window) {
    BITMAP bm{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm)) return false;
    CClientDC dc(window);
    int planes = dc.GetDeviceCaps(PLANES), bits = dc.GetDeviceCaps(BITSPIXEL);
    return bm.bmPlanes == planes && bm.bmBitsPixel == bits;
}

}  // namespace BitmapOps
