#pragma once
// Scaling the image. Resize: a transient device-independent copy of it (the scale DIB) drawn at
// the wanted size by the DrawDib context. The reduced views below 100 %: each view pixel the
// average of the image pixels it covers (area_average.h), on displays of more than 256 colours.
#include <windows.h>

#include "capture/dib_conversions.h"
#include "framework/draw_dib.h"
#include "framework/gdi.h"

// The transient DIB: one memory block, its 40-byte header and the start of its pixel rows.
class ScaleDib {
public:
    ScaleDib() = default;
    ~ScaleDib() { Free(); }
    ScaleDib(const ScaleDib&) = delete;
    ScaleDib& operator=(const ScaleDib&) = delete;

    // Converts `image` at the display's depth (1, 4 or 8 bits with a colour table, else 24 bits),
    // read through the stock default palette; frees any previous block. False when memory runs out.
    bool Make(HBITMAP image);
    void Free();
    explicit operator bool() const { return static_cast<bool>(block); }

    BITMAPINFOHEADER* header = nullptr;
    void* bits = nullptr;

private:
    DibBlock block;
};

class ImageScaler {
public:
    ScaleDib scaleDib;
    CDrawDib drawDibHandle;  // opened once, used for every scaling

    // A bitmap of width x height compatible with `window` holding all of `image` drawn at that size,
    // or empty when any part of it cannot be made. The scale DIB is freed again before it returns.
    CBitmap Scale(HBITMAP image, HWND window, int width, int height);

    // The same for a reduction (width and height no larger than the image's): the area average
    // into a 32-bit DIB section, read from the image a band of rows at a time. On a palette
    // display, whose colours could not hold the averages, it is Scale's copy.
    CBitmap Reduce(HBITMAP image, HWND window, int width, int height);

    // Keeps a reduced copy that is no longer shown, so that the next reduction to its size
    // (another drawing at the same zoom, a step back to the zoom before) is written into it: a new
    // DIB section's pages each cost a page fault when first written, together more than the
    // averaging itself for a large image. Anything but one of Reduce's recent DIB sections is freed.
    void KeepSpare(CBitmap unused);
    bool HasSpare() const { return static_cast<bool>(spare); }
    void DropSpare() { spare.DeleteObject(); }

private:
    // Reduce's DIB section: the spare when it has that size (the spare is freed otherwise), else
    // a new one (`isNew` is then set). `bits` is set to its top row.
    CBitmap TargetOf(int width, int height, void** bits, bool* isNew);
    // True when `bitmap` is one of the DIB sections Reduce made lately; fills `section`.
    bool MadeByReduce(HBITMAP bitmap, DIBSECTION* section) const;

    CBitmap spare;
    // The last few DIB sections Reduce made, by handle and pixels: GDI does not say a section's
    // row order, so only one of these is taken back as a spare.
    struct Made {
        HBITMAP handle;
        void* bits;
    };
    Made made[4] = {};
    int nextMade = 0;
};

// The bit count of DIBs made from the display: 1, 4 or 8 on displays that deep, else 24.
int DisplayDibDepth();
