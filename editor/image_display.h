#pragma once
// The image on screen: the mapping between window points and image pixels, the double-buffered
// paint (one off-screen bitmap, one blit), and the reduced copy drawn below 100 %.
#include <windows.h>

#include "editor/editor_host.h"
#include "editor/editor_state.h"
#include "editor/image_scaler.h"
#include "editor/view_geometry.h"

class ImageDisplay {
public:
    ImageDisplay(EditorHost& host, EditorState& state) : host(host), state(state) {}

    CBitmap displayBitmap;  // the image reduced to the zoom; exists only below 100 %
    ImageScaler scaler;     // scaleDib and drawDibHandle

    // The view's geometry as it stands: client size, scroll total and position, zoom.
    ViewGeometry::Layout Layout() const;
    CPoint ClientToImage(CPoint client) const;
    CPoint ImageToClient(CPoint image) const;

    // PaintImage: the background colour everywhere, the visible part of the image (or of its
    // reduced copy) over it, drawn off-screen and copied to the window in one blit. Draws nothing
    // without an image (the erased background stands).
    void Paint();
    // The bitmap a paint copies from: the reduced copy below 100 %, else the image; none while
    // the image is empty (a direct grab not yet shown).
    HBITMAP Source() const;
    // Gives back the off-screen bitmap the paints reuse (when the image goes).
    void FreeBackBuffer() { backBuffer.DeleteObject(); }

    // The image size at a zoom: what the scroll total size is while it is shown.
    static CSize Zoomed(CSize image, int zoom);
    // True when a picture of that drawn size has no pixel left (a few pixels at a low zoom): its
    // reduced copy is empty, which is no failure, and the view shows only the background.
    static bool Vanishes(CSize drawn) { return drawn.cx < 1 || drawn.cy < 1; }
    // The reduced copy of `image` at `zoom` (below 100 %): (w x zoom / 100) x (h x zoom / 100),
    // each pixel the average of the image pixels it covers (ImageScaler::Reduce). Empty when it cannot be made (or Vanishes); the caller
    // then keeps the present displayBitmap, so a failed zoom step or crop changes nothing.
    CBitmap MakeReduced(HBITMAP image, int zoom);
    // Shows `reduced` from now on, in place of the reduced copy shown until now, which the scaler
    // keeps for the next reduced copy of its size.
    void ShowReduced(CBitmap reduced);
    // No reduced copy any more, nor a spare one (at 100 % and above, or when the image goes).
    void DropReduced() {
        displayBitmap.DeleteObject();
        scaler.DropSpare();
    }

private:
    // The off-screen bitmap, kept from paint to paint while the client area keeps its size: a fresh
    // bitmap of a full-screen window costs more to make (its memory is touched page by page on the
    // first fill) than the whole rest of a paint.
    CBitmap backBuffer;
    CSize backBufferSize;

    EditorHost& host;
    EditorState& state;
};
