#include "capture/dib_conversions.h"

#include <cstring>
#include <vector>

namespace {

size_t PixelBytes(const BITMAPINFOHEADER& h) {
    if (h.biSizeImage) return h.biSizeImage;
    size_t bytes = static_cast<size_t>((static_cast<long long>(h.biWidth) * h.biBitCount + 31) & ~31LL) / 8 *
                   static_cast<size_t>(h.biHeight < 0 ? -h.biHeight : h.biHeight);
    return h.biCompression == BI_RGB ? bytes : bytes * 3 / 2;
}

}  // namespace

HGLOBAL BitmapToDib(HBITMAP bitmap, DWORD compression, HPALETTE palette) {
    if (compression == BI_BITFIELDS) return nullptr;
    if (!palette) palette = static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
    BITMAP bm{};
    if (!::GetObjectA(bitmap, sizeof bm, &bm)) return nullptr;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = bm.bmWidth;
    header.biHeight = bm.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bm.bmPlanes * bm.bmBitsPixel);
    header.biCompression = compression;
    int entries = header.biBitCount <= 8 ? 1 << header.biBitCount : 0;

    HDC screen = ::GetDC(nullptr);
    HPALETTE oldPalette = ::SelectPalette(screen, palette, FALSE);
    ::RealizePalette(screen);
    auto finish = [&](HGLOBAL result) {
        ::SelectPalette(screen, oldPalette, FALSE);
        ::ReleaseDC(nullptr, screen);
        return result;
    };

    size_t tableBytes = sizeof header + 4 * static_cast<size_t>(entries);
    HGLOBAL block = ::GlobalAlloc(GMEM_FIXED, tableBytes);
    if (!block) return finish(nullptr);
    std::memcpy(block, &header, sizeof header);
    // Without a pixel buffer the system completes the header, size of the pixels included.
    ::GetDIBits(screen, bitmap, 0, header.biHeight, nullptr, static_cast<BITMAPINFO*>(block), DIB_RGB_COLORS);
    std::memcpy(&header, block, sizeof header);

    HGLOBAL grown = ::GlobalReAlloc(block, tableBytes + PixelBytes(header), GMEM_MOVEABLE);
    if (!grown) {
        ::GlobalFree(block);
        return finish(nullptr);
    }
    block = grown;
    auto* info = static_cast<BITMAPINFO*>(::GlobalLock(block));
    int rows = ::GetDIBits(screen, bitmap, 0, header.biHeight, reinterpret_cast<BYTE*>(info) + tableBytes,
                           info, DIB_RGB_COLORS);
    ::GlobalUnlock(block);
    if (!rows) {
        ::GlobalFree(block);
        return finish(nullptr);
    }
    return finish(block);
}

HBITMAP DibToBitmap(HGLOBAL block, HWND window) {
    if (!block) return nullptr;
    auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(block));
    if (!header) return nullptr;
    HDC dc = ::GetDC(window);

    int entries = header->biClrUsed ? static_cast<int>(header->biClrUsed)
                : header->biBitCount <= 8 ? 1 << header->biBitCount : 0;
    BYTE* base = reinterpret_cast<BYTE*>(header);
    BYTE* pixels = header->biBitCount <= 8
                       ? base + sizeof(BITMAPINFOHEADER) + 4 * entries
                       : base + sizeof(BITMAPINFOHEADER) + 4 * header->biClrUsed +
                             (header->biCompression == BI_BITFIELDS ? 12 : 0);

    HPALETTE palette = nullptr, oldPalette = nullptr;
    if ((::GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) && entries > 0 && entries <= 256) {
        std::vector<BYTE> storage(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
        auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
        logical->palVersion = 0x300;
        logical->palNumEntries = static_cast<WORD>(entries);
        const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(base + sizeof(BITMAPINFOHEADER));
        for (int i = 0; i < entries; ++i)
            logical->palPalEntry[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        palette = ::CreatePalette(logical);
        if (palette) {
            oldPalette = ::SelectPalette(dc, palette, FALSE);
            ::RealizePalette(dc);
        }
    }
    HBITMAP bitmap = ::CreateDIBitmap(dc, header, CBM_INIT, pixels, reinterpret_cast<BITMAPINFO*>(header),
                                      DIB_RGB_COLORS);
    if (palette) {
        ::SelectPalette(dc, oldPalette, FALSE);
        ::DeleteObject(palette);
    }
    ::ReleaseDC(window, dc);
    ::GlobalUnlock(block);
    return bitmap;
}

HPALETTE CreateSystemPalette(HDC dc) {
    const int kEntries = 255;
    std::vector<BYTE> storage(sizeof(LOGPALETTE) + kEntries * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = kEntries;
    ::GetSystemPaletteEntries(dc, 0, kEntries, logical->palPalEntry);
    return ::CreatePalette(logical);
}
