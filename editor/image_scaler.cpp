#include "editor/image_scaler.h"

#include <cstdint>
#include <new>

#include "editor/area_average.h"
#include "editor/bitmap_ops.h"
#include "editor/pages_faulted_ahead.h"
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

namespace {

// The image's rows as 32-bit pixels, fetched from the bitmap a band at a time (bottom-up DIB
// scans, so a band of rows [top, top + n) is scans height - top - n onwards, last row first).
class BitmapBands : public AreaAverage::SourceRows {
public:
    // A band small enough to stay in the processor's cache between being written and being read,
    // and a multiple of 2 and 3 so the exact halves and thirds never straddle two bands.
    static constexpr int kBandRows = 12;
    static_assert(kBandRows >= AreaAverage::kMostRowsAtOnce, "a band holds the rows asked for at once");

    BitmapBands(HBITMAP image, CSize size) : image_(image), size_(size) {
        info_.biSize = sizeof(BITMAPINFOHEADER);
        info_.biWidth = size.cx;
        info_.biHeight = size.cy;
        info_.biPlanes = 1;
        info_.biBitCount = 32;
        info_.biCompression = BI_RGB;
        screen_ = ::GetDC(nullptr);
    }
    ~BitmapBands() override {
        ::ReleaseDC(nullptr, screen_);
        delete[] band_;
    }
    BitmapBands(const BitmapBands&) = delete;
    BitmapBands& operator=(const BitmapBands&) = delete;

    bool Ready() {
        if (!screen_) return false;
        band_ = new (std::nothrow) uint8_t[size_t(size_.cx) * 4 * kBandRows];
        return band_ != nullptr;
    }

    const uint8_t* Rows(int y, int count, ptrdiff_t* stride) override {
        const ptrdiff_t rowBytes = ptrdiff_t(size_.cx) * 4;
        if (y < top_ || y + count > top_ + rows_) {
            rows_ = size_.cy - y < kBandRows ? size_.cy - y : kBandRows;
            top_ = y;
            BITMAPINFOHEADER header = info_;  // GetDIBits may write to it
            const int got = ::GetDIBits(screen_, image_, UINT(size_.cy - y - rows_), UINT(rows_), band_,
                                        reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
            if (got != rows_ || count > rows_) {
                rows_ = 0;
                return nullptr;
            }
        }
        *stride = -rowBytes;  // bottom-up: the row below is the one before
        return band_ + ptrdiff_t(top_ + rows_ - 1 - y) * rowBytes;
    }

private:
    HBITMAP image_;
    CSize size_;
    BITMAPINFOHEADER info_{};
    HDC screen_ = nullptr;
    uint8_t* band_ = nullptr;
    int top_ = 0, rows_ = 0;
};

}  // namespace

bool ImageScaler::MadeByReduce(HBITMAP bitmap, DIBSECTION* section) const {
    if (!bitmap || ::GetObjectA(bitmap, sizeof *section, section) != int(sizeof *section)) return false;
    // Live sections never share pixels, so a handle with the pixels of one made here is that one.
    for (const Made& m : made)
        if (m.handle == bitmap && m.bits == section->dsBm.bmBits && m.bits) return true;
    return false;
}

void ImageScaler::KeepSpare(CBitmap unused) {
    DIBSECTION section;
    if (MadeByReduce(unused, &section)) spare = std::move(unused);
}

CBitmap ImageScaler::TargetOf(int width, int height, void** bits, bool* isNew) {
    DIBSECTION section;
    *isNew = false;
    if (MadeByReduce(spare, &section) && section.dsBm.bmWidth == width && section.dsBm.bmHeight == height) {
        ::GdiFlush();  // nothing drawn into it before is still on its way
        *bits = section.dsBm.bmBits;
        return std::move(spare);
    }
    *isNew = true;
    spare.DeleteObject();
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = -height;  // top-down: row y at bits + y * stride
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    CBitmap fresh;
    *bits = nullptr;
    fresh.Attach(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, bits, nullptr, 0));
    if (!*bits) fresh.DeleteObject();
    if (fresh) {
        made[nextMade] = {fresh, *bits};
        nextMade = (nextMade + 1) % int(sizeof made / sizeof made[0]);
    }
    return fresh;
}

CBitmap ImageScaler::Reduce(HBITMAP image, HWND window, int width, int height) {
    const CSize size = BitmapOps::SizeOf(image);
    if (width < 1 || height < 1 || width > size.cx || height > size.cy) return CBitmap();
    if (DisplayDibDepth() < 24) return Scale(image, window, width, height);

    void* bits = nullptr;
    bool isNew = false;
    CBitmap reduced = TargetOf(width, height, &bits, &isNew);
    if (!reduced) return CBitmap();
    BitmapBands bands(image, size);
    uint8_t* const target = static_cast<uint8_t*>(bits);
    const ptrdiff_t stride = ptrdiff_t(width) * 4;
    const bool ready = bands.Ready();
    PagesFaultedAhead rows(bands, size.cy, target, stride, height, isNew && ready);
    if (!ready || !AreaAverage::Reduce(rows, size.cx, size.cy, target, stride, width, height)) {
        KeepSpare(std::move(reduced));  // its pages are still good for the next try
        return CBitmap();
    }
    ::GdiFlush();
    return reduced;
}
