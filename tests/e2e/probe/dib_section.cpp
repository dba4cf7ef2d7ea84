#include "dib_section.h"

#include "bmp_file.h"

DibSection::DibSection(int width, int height, int bitCount) {
    info_.biSize = sizeof info_;
    info_.biWidth = width;
    info_.biHeight = height;
    info_.biPlanes = 1;
    info_.biBitCount = static_cast<WORD>(bitCount);
    info_.biCompression = BI_RGB;
    stride_ = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    info_.biSizeImage = static_cast<DWORD>(stride_ * height);
    if (width <= 0 || height <= 0) return;

    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, reinterpret_cast<BITMAPINFO*>(&info_), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dc_ || !bitmap_) return;
    previous_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<uint8_t*>(bits);
}

DibSection::~DibSection() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
}

COLORREF DibSection::pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width() || y >= height()) return CLR_INVALID;
    GdiFlush();
    const uint8_t* p = bits_ + stride_ * (height() - 1 - y) + x * (info_.biBitCount / 8);
    return RGB(p[2], p[1], p[0]);
}

void DibSection::fill(COLORREF colour) {
    if (!bits_) return;
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, width(), height()};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

bool DibSection::writeBmp(const std::string& path, std::string* error) const {
    if (!bits_) {
        *error = "no bitmap";
        return false;
    }
    GdiFlush();
    return writeBmpFile(path, &info_, sizeof info_, bits_, info_.biSizeImage, error);
}

bool grabScreen(const RECT& area, DibSection& into) {
    if (!into.ok()) return false;
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    BOOL ok = BitBlt(into.dc(), 0, 0, area.right - area.left, area.bottom - area.top, screen, area.left,
                     area.top, SRCCOPY | CAPTUREBLT);
    ReleaseDC(nullptr, screen);
    return ok != FALSE;
}
