#pragma once
// A DrawDib context (Video for Windows): the scaler that draws a device-independent bitmap at any
// size onto a device context. Opened when made, closed when it goes.
#include <windows.h>
#include <vfw.h>

class CDrawDib {
public:
    CDrawDib() : m_handle(::DrawDibOpen()) {}
    ~CDrawDib() {
        if (m_handle) ::DrawDibClose(m_handle);
    }
    CDrawDib(const CDrawDib&) = delete;
    CDrawDib& operator=(const CDrawDib&) = delete;

    HDRAWDIB GetSafeHandle() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

    // Realises the context's palette in `dc` (as a background palette when asked).
    UINT Realize(HDC dc, bool background) { return m_handle ? ::DrawDibRealize(m_handle, dc, background) : 0; }
    // Draws `source` x `sourceHeight` of the DIB (header and pixel rows) onto the destination
    // rectangle, stretching or shrinking as needed.
    bool Draw(HDC dc, int x, int y, int width, int height, BITMAPINFOHEADER* header, void* bits,
              int sourceX, int sourceY, int sourceWidth, int sourceHeight, UINT flags) {
        return m_handle && ::DrawDibDraw(m_handle, dc, x, y, width, height, header, bits, sourceX, sourceY,
                                         sourceWidth, sourceHeight, flags);
    }

private:
    HDRAWDIB m_handle;
};
