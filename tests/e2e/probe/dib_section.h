// A bottom-up BI_RGB DIB section selected into its own memory DC: the probe draws or copies the
// screen into it and reads its pixels or writes it as a .bmp file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class DibSection {
public:
    DibSection(int width, int height, int bitCount);  // bitCount 24 or 32
    ~DibSection();
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    bool ok() const { return bits_ != nullptr; }
    HDC dc() const { return dc_; }
    int width() const { return info_.biWidth; }
    int height() const { return info_.biHeight; }

    // (x, y) from the top-left corner, as RGB().
    COLORREF pixel(int x, int y) const;
    void fill(COLORREF colour);

    bool writeBmp(const std::string& path, std::string* error) const;

private:
    BITMAPINFOHEADER info_{};
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint8_t* bits_ = nullptr;
    size_t stride_ = 0;
};

// Copies a rectangle of the screen (as the desktop shows it, layered windows included).
bool grabScreen(const RECT& area, DibSection& into);
