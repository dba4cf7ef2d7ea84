#include "imagefile/bmp_writer.h"

#include <cstring>
#include <vector>

#include "imagefile/bmp_layout.h"
#include "imagefile/palette_builder.h"

namespace BmpWriter {
namespace {

// Writes `parts` one after another into a new file; on any failure the partial file is removed.
bool WriteFile(const std::string& path, std::initializer_list<std::pair<const void*, size_t>> parts) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (auto [data, size] : parts) {
        DWORD written = 0;
        if (!::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) || written != size) {
            ok = false;
            break;
        }
    }
    ok = ::CloseHandle(file) && ok;
    if (!ok) ::DeleteFileA(path.c_str());  // a disk that filled up leaves no damaged image behind
    return ok;
}

bool WriteIndexed(const std::vector<uint8_t>& pixels, int width, int height, const std::string& path) {
    if (pixels.empty()) return false;
    PaletteBuilder::Indexed indexed = PaletteBuilder::Build(pixels.data(), width, height, size_t(width) * 4);
    std::vector<uint8_t> file = BmpLayout::Encode8Bit(width, height, indexed.colorTable, indexed.indices);
    return WriteFile(path, {{file.data(), file.size()}});
}

}  // namespace

int DisplayDepth() {
    HDC display = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    int bits = ::GetDeviceCaps(display, PLANES) * ::GetDeviceCaps(display, BITSPIXEL);
    ::DeleteDC(display);
    return bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
}

bool WriteBitmapAsBmp(HBITMAP bitmap, const std::string& path, int depth) {
    BITMAP bm{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm)) return false;
    uint32_t table = BmpLayout::ColorTableBytes(depth);
    uint32_t pixelBytes = BmpLayout::Stride(bm.bmWidth, depth) * static_cast<uint32_t>(bm.bmHeight);
    HGLOBAL block = ::GlobalAlloc(GHND, BmpLayout::kInfoHeaderSize + table + pixelBytes);
    if (!block) return false;
    auto* data = static_cast<uint8_t*>(::GlobalLock(block));
    auto header = BmpLayout::InfoHeader(bm.bmWidth, bm.bmHeight, depth);
    std::memcpy(data, header.data(), header.size());

    HDC screen = ::GetDC(nullptr);
    HPALETTE old = ::SelectPalette(screen, static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), FALSE);
    ::RealizePalette(screen);
    int rows = ::GetDIBits(screen, bitmap, 0, bm.bmHeight, data + BmpLayout::kInfoHeaderSize + table,
                           reinterpret_cast<BITMAPINFO*>(data), DIB_RGB_COLORS);
    ::SelectPalette(screen, old, TRUE);
    ::RealizePalette(screen);
    ::ReleaseDC(nullptr, screen);

    // GetDIBits may have filled in the image size; the file carries the header as written above.
    std::memcpy(data, header.data(), header.size());
    uint32_t blockBytes = BmpLayout::kInfoHeaderSize + table + pixelBytes;
    auto fileHeader = BmpLayout::FileHeader(BmpLayout::kFileHeaderSize + blockBytes,
                                            BmpLayout::kFileHeaderSize + BmpLayout::kInfoHeaderSize + table);
    bool ok = rows == bm.bmHeight &&
              WriteFile(path, {{fileHeader.data(), fileHeader.size()}, {data, blockBytes}});
    ::GlobalUnlock(block);
    ::GlobalFree(block);
    return ok;
}

bool WriteDibAsBmp(const std::string& path, HGLOBAL block) {
    if (!block) return false;
    SIZE_T size = ::GlobalSize(block);
    auto* data = static_cast<const uint8_t*>(::GlobalLock(block));
    if (!data || size < BmpLayout::kInfoHeaderSize) {
        if (data) ::GlobalUnlock(block);
        return false;
    }
    const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    uint32_t table = info->biBitCount < 9 ? (1u << info->biBitCount) * 4 : 0;
    auto fileHeader = BmpLayout::FileHeader(static_cast<uint32_t>(size + BmpLayout::kFileHeaderSize),
                                            info->biSize + BmpLayout::kFileHeaderSize + table);
    bool ok = WriteFile(path, {{fileHeader.data(), fileHeader.size()}, {data, size}});
    ::GlobalUnlock(block);
    return ok;
}

std::vector<uint8_t> Pixels32OfBitmap(HBITMAP bitmap, int& width, int& height) {
    BITMAP bm{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
    width = bm.bmWidth;
    height = bm.bmHeight;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    HDC screen = ::GetDC(nullptr);
    int rows = ::GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != height) return {};
    return pixels;
}

bool SizeOfDib(HGLOBAL block, int& width, int& height) {
    if (!block || ::GlobalSize(block) < BmpLayout::kInfoHeaderSize) return false;
    auto* header = static_cast<const BITMAPINFOHEADER*>(::GlobalLock(block));
    if (!header) return false;
    width = header->biWidth;
    height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    ::GlobalUnlock(block);
    return width > 0 && height > 0;
}

std::vector<uint8_t> Pixels32OfDib(HGLOBAL block, int& width, int& height) {
    if (!SizeOfDib(block, width, height)) return {};
    auto* info = static_cast<BITMAPINFO*>(::GlobalLock(block));
    if (!info) return {};
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int entries = h.biClrUsed ? static_cast<int>(h.biClrUsed) : h.biBitCount <= 8 ? 1 << h.biBitCount : 0;
    const uint8_t* source = reinterpret_cast<const uint8_t*>(info) + h.biSize + 4 * entries +
                            (h.biCompression == BI_BITFIELDS ? 12 : 0);

    // Drawn into a 32-bit section, so any depth converts exactly whatever the display's own depth.
    std::vector<uint8_t> pixels;
    BITMAPINFO out{};
    out.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(nullptr, &out, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section) {
        HDC memory = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(memory, section);
        int rows = ::SetDIBitsToDevice(memory, 0, 0, width, height, 0, 0, 0, height, source, info,
                                       DIB_RGB_COLORS);
        ::GdiFlush();
        if (rows == height) {
            auto* start = static_cast<const uint8_t*>(bits);
            pixels.assign(start, start + static_cast<size_t>(width) * height * 4);
        }
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        ::DeleteObject(section);
    }
    ::GlobalUnlock(block);
    return pixels;
}

bool WriteBitmapAsIndexedBmp(HBITMAP bitmap, const std::string& path) {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels = Pixels32OfBitmap(bitmap, width, height);
    return WriteIndexed(pixels, width, height, path);
}

bool WriteDibAsIndexedBmp(HGLOBAL block, const std::string& path) {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels = Pixels32OfDib(block, width, height);
    return WriteIndexed(pixels, width, height, path);
}

}  // namespace BmpWriter
