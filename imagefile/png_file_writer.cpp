#include "imagefile/png_file_writer.h"

#include "app/atomic_file.h"

namespace PngFileWriter {
namespace {

// 32-bit top-down pixels (blue, green, red, unused) in a plain vector.
struct Pixels32 {
    int width = 0, height = 0;
    std::vector<uint8_t> bytes;
};

Pixels32 ReadBitmap(HBITMAP bitmap) {
    Pixels32 p;
    BITMAP bm{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return p;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB};
    p.bytes.resize(size_t(bm.bmWidth) * size_t(bm.bmHeight) * 4);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, UINT(bm.bmHeight), p.bytes.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != bm.bmHeight) return {};
    p.width = bm.bmWidth;
    p.height = bm.bmHeight;
    return p;
}

// Any depth of packed DIB, drawn into a 32-bit section so it converts exactly whatever the display.
Pixels32 ReadDib(HGLOBAL block) {
    Pixels32 p;
    auto* info = block ? static_cast<BITMAPINFO*>(::GlobalLock(block)) : nullptr;
    if (!info) return p;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const int width = h.biWidth, height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const size_t entries = h.biClrUsed ? h.biClrUsed : h.biBitCount <= 8 ? size_t(1) << h.biBitCount : 0;
    const uint8_t* source = reinterpret_cast<const uint8_t*>(info) + h.biSize + 4 * entries +
                            (h.biCompression == BI_BITFIELDS ? 12 : 0);
    BITMAPINFO out{};
    out.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP section =
        width > 0 && height > 0 ? ::CreateDIBSection(nullptr, &out, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (section) {
        HDC memory = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(memory, section);
        const int rows = ::SetDIBitsToDevice(memory, 0, 0, DWORD(width), DWORD(height), 0, 0, 0, UINT(height),
                                             source, info, DIB_RGB_COLORS);
        ::GdiFlush();
        if (rows == height) {
            const auto* start = static_cast<const uint8_t*>(bits);
            p.bytes.assign(start, start + size_t(width) * size_t(height) * 4);
            p.width = width;
            p.height = height;
        }
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        ::DeleteObject(section);
    }
    ::GlobalUnlock(block);
    return p;
}

std::vector<uint8_t> Encode(const Pixels32& p, const PngEncoder::Options& options) {
    if (p.bytes.empty()) return {};
    return PngEncoder::Encode(p.bytes.data(), p.width, p.height, size_t(p.width) * 4, options);
}

bool WriteFile(const Pixels32& pixels, const std::string& path) {
    std::vector<uint8_t> file = Encode(pixels, PngEncoder::Options());
    return !file.empty() && AtomicFile::Replace(path, file.data(), file.size());
}

}  // namespace

bool WriteBitmap(HBITMAP bitmap, const std::string& path) { return WriteFile(ReadBitmap(bitmap), path); }

bool WriteDib(HGLOBAL dib, const std::string& path) { return WriteFile(ReadDib(dib), path); }

std::vector<uint8_t> EncodeBitmap(HBITMAP bitmap, const PngEncoder::Options& options) {
    return Encode(ReadBitmap(bitmap), options);
}

}  // namespace PngFileWriter
