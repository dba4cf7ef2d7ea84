#include "bmp_file.h"

size_t dibInfoSize(const BITMAPINFOHEADER& h) {
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > 1024) return 0;
    size_t size = h.biSize;
    // A plain info header is followed by the three masks; V4/V5 headers hold them inside.
    if (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER)) size += 3 * sizeof(DWORD);
    size_t colours = h.biClrUsed;
    if (colours == 0 && h.biBitCount <= 8) colours = size_t(1) << h.biBitCount;
    if (colours > 256 && h.biBitCount <= 8) return 0;
    if (colours > 65536) return 0;
    return size + colours * sizeof(RGBQUAD);
}

size_t dibPixelSize(const BITMAPINFOHEADER& h) {
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1) return 0;
    if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return h.biSizeImage;
    switch (h.biBitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return 0;
    }
    const unsigned long long rowBytes = ((unsigned long long)h.biWidth * h.biBitCount + 31) / 32 * 4;
    const unsigned long long rows = h.biHeight < 0 ? -(long long)h.biHeight : h.biHeight;
    const unsigned long long total = rowBytes * rows;
    return total > 0x7FFFFFFF ? 0 : static_cast<size_t>(total);
}

bool writeBmpFile(const std::string& path, const void* info, size_t infoSize, const void* pixels,
                  size_t pixelSize, std::string* error) {
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;  // "BM"
    fh.bfOffBits = static_cast<DWORD>(sizeof fh + infoSize);
    fh.bfSize = static_cast<DWORD>(sizeof fh + infoSize + pixelSize);

    const std::string temporary = path + ".part";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = "cannot create " + temporary;
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, &fh, sizeof fh, &written, nullptr) && written == sizeof fh &&
              WriteFile(file, info, static_cast<DWORD>(infoSize), &written, nullptr) && written == infoSize &&
              WriteFile(file, pixels, static_cast<DWORD>(pixelSize), &written, nullptr) && written == pixelSize;
    CloseHandle(file);
    if (ok) ok = MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!ok) {
        DeleteFileA(temporary.c_str());
        *error = "cannot write " + path;
    }
    return ok;
}
