#pragma once
// Packed device-independent bitmaps in one global memory block: a 40-byte header, the colour table
// for depths up to 8 bits, then the rows bottom-up, each padded to 4 bytes.
#include <windows.h>

#include <utility>

// Owns one such block (or none) and frees it when it goes.
class DibBlock {
public:
    DibBlock() = default;
    explicit DibBlock(HGLOBAL block) : block_(block) {}
    ~DibBlock() { Free(); }
    DibBlock(DibBlock&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    DibBlock& operator=(DibBlock&& other) noexcept {
        if (this != &other) {
            Free();
            block_ = std::exchange(other.block_, nullptr);
        }
        return *this;
    }
    DibBlock(const DibBlock&) = delete;
    DibBlock& operator=(const DibBlock&) = delete;

    void Free() {
        if (block_) ::GlobalFree(block_);
        block_ = nullptr;
    }
    HGLOBAL Get() const { return block_; }
    explicit operator bool() const { return block_ != nullptr; }

private:
    HGLOBAL block_ = nullptr;
};

// A new block holding `bitmap` at its own depth (colours through `palette`, or the stock default
// palette), or null when the bitmap cannot be described or memory runs out. `compression` is
// BI_RGB everywhere in the program; BI_BITFIELDS is refused.
HGLOBAL BitmapToDib(HBITMAP bitmap, DWORD compression, HPALETTE palette);

// A device-dependent bitmap compatible with `window`'s client area made from `block`, or null.
HBITMAP DibToBitmap(HGLOBAL block, HWND window);

// A logical palette (version 0x300) of the system palette's entries 0 to 254, for palette displays.
HPALETTE CreateSystemPalette(HDC dc);
