#include "editor/image_scaler.h"

#include <cstdint>

#include "editor/bitmap_ops.h"
#include "imagefile/bmp_layout.h"

int DisplayDibDepth() {
    HDC screen = ::GetDC(nullptr);
    int bits = ::GetDeviceCaps(screen, PLANES) * ::GetDeviceCaps(screen, BITSPIXEL);
    ::ReleaseDC(nullptr, screen);
    return bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
}

bool ScaleDib::Make(HBITMAP image) {
    Free();
    CSize size = BitmapOps::SizeOf(image);
    if (size.cx < 1 || size.cy < 1) return false;
    const int depth = DisplayDibDepth();
    const uint64_t table = BmpLayout::ColorTableBytes(depth);
    const uint64_t pixels = static_cast<uint64_t>(BmpLayout::Stride(size.cx, depth)) * size.cy;
    const uint64_t total = BmpLayout::kInfoHeaderSize + table + pixels;
    if (total > static_cast<uint64_t>(SIZE_MAX / 2)) return false;
    block = DibBlock(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(total)));
    if (!block) return false;
    auto* data = static_cast<uint8_t*>(::GlobalLock(block.Get()));
    if (!data) {
        block.Free();
        return false;
    }
    header = reinterpret_cast<BITMAPINFOHEADER*>(data);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = size.cx;
    header->biHeight = size.cy;
    header->biPlanes = 1;
    header->biBitCount = static_cast<WORD>(depth);
    header->biCompression = BI_RGB;
    bits = data + BmpLayout::kInfoHeaderSize + table;

    HDC screen = ::GetDC(nullptr);
    HPALETTE old = ::SelectPalette(screen, static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), FALSE);
    ::RealizePalette(screen);
    int rows = ::GetDIBits(screen, image, 0, size.cy, bits, reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS);
    ::SelectPalette(screen, old, TRUE);
    ::RealizePalette(screen);
    ::ReleaseDC(nullptr, screen);
    if (rows != size.cy) {
        Free();
        return false;
    }
    return true;
}

void ScaleDib::Free() {
    if (block) ::GlobalUnlock(block.Get());
    block.Free();
    header = nullptr;
    bits = nullptr;
}

CBitmap ImageScaler::Scale(HBITMAP image, HWND window, int width, int height) {
    CBitmap scaled = BitmapOps::MakeCompatible(window, width, height);
    if (!scaled || !scaleDib.Make(image)) return CBitmap();
    bool drawn = false;
    {
        CClientDC client(window);
        CDC memory;
        if (memory.CreateCompatibleDC(client)) {
            CSelectGuard keep(memory, scaled.GetSafeHandle());
            // Whole pixels kept or dropped, as DrawDib's own stretching does; an averaging mode
            // costs several times as long for a large image.
            ::SetStretchBltMode(memory, COLORONCOLOR);
            drawDibHandle.Realize(memory, true);
            drawn = drawDibHandle.Draw(memory, 0, 0, width, height, scaleDib.header, scaleDib.bits, 0, 0,
                                       scaleDib.header->biWidth, scaleDib.header->biHeight, DDF_BACKGROUNDPAL);
        }
    }
    scaleDib.Free();
    if (!drawn) return CBitmap();
    return scaled;
}
