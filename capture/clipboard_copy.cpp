#include "capture/clipboard_copy.h"

#include "imagefile/png_clipboard.h"

namespace {

bool CopyImage(HWND window, HBITMAP image, int width, int height, CBitmap& copy) {
    if (!image || width <= 0 || height <= 0) return false;
    CClientDC client(window);
    CDC source, target;
    if (!source.CreateCompatibleDC(client) || !target.CreateCompatibleDC(client)) return false;
    if (!copy.CreateCompatibleBitmap(client, width, height)) return false;
    HGDIOBJ oldSource = ::SelectObject(source, image);
    HGDIOBJ oldTarget = ::SelectObject(target, copy.GetSafeHandle());
    bool copied = oldSource && oldTarget && target.BitBlt(0, 0, width, height, source, 0, 0, SRCCOPY);
    if (oldSource) ::SelectObject(source, oldSource);
    if (oldTarget) ::SelectObject(target, oldTarget);
    if (!copied) copy.DeleteObject();
    return copied;
}

}  // namespace

bool PlaceOnClipboard(HWND window, CBitmap& copy) {
    if (!::OpenClipboard(window)) {
        copy.DeleteObject();
        return false;
    }
    ::EmptyClipboard();
    OfferPngOnClipboard(static_cast<HBITMAP>(copy.GetSafeHandle()));
    // From here on the clipboard owns the bitmap.
    bool placed = ::SetClipboardData(CF_BITMAP, static_cast<HBITMAP>(copy.GetSafeHandle())) != nullptr;
    if (placed)
        copy.Detach();
    else
        copy.DeleteObject();
    ::CloseClipboard();
    return placed;
}

bool CopyImageToClipboard(HWND window, HBITMAP image, int width, int height, CBitmap& holder) {
    holder.DeleteObject();
    if (!CopyImage(window, image, width, height, holder)) return false;
    return PlaceOnClipboard(window, holder);
}
