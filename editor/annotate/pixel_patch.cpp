#include "editor/annotate/pixel_patch.h"

#include "editor/bitmap_ops.h"

bool PixelPatch::Load(HBITMAP source, MarkGeometry::Box wanted, HWND owner) {
    const CSize size = BitmapOps::SizeOf(source);
    area = MarkGeometry::Intersect(wanted, {0, 0, static_cast<int>(size.cx), static_cast<int>(size.cy)});
    window = owner;
    if (area.Empty()) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = area.Width();
    info.bmiHeader.biHeight = -area.Height();  // top-down: rows in the order PixelArea reads them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    CClientDC client(window);
    if (!section.Attach(::CreateDIBSection(client, &info, DIB_RGB_COLORS, &memory, nullptr, 0)) || !memory)
        return false;
    if (!dc.CreateCompatibleDC(client)) return false;
    bits = static_cast<uint32_t*>(memory);
    previous = ::SelectObject(dc, section.GetSafeHandle());
    CDC from;
    if (!from.CreateCompatibleDC(client)) return false;
    CSelectGuard keep(from, source);
    ::BitBlt(dc, 0, 0, area.Width(), area.Height(), from, area.left, area.top, SRCCOPY);
    ::GdiFlush();  // the blit is done before the pixels are read directly
    return true;
}

void PixelPatch::StoreInto(HBITMAP target) const {
    if (area.Empty() || !bits) return;
    ::GdiFlush();
    CClientDC client(window);
    CDC to;
    if (!to.CreateCompatibleDC(client)) return;
    CSelectGuard keep(to, target);
    ::BitBlt(to, area.left, area.top, area.Width(), area.Height(), dc, 0, 0, SRCCOPY);
}
