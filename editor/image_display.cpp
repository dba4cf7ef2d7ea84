#include "editor/image_display.h"

#include "editor/bitmap_ops.h"
#include "editor/zoom_steps.h"

ViewGeometry::Layout ImageDisplay::Layout() const {
    CRect client;
    ::GetClientRect(host.EditorWindow(), &client);
    CSize total = host.ScrollTotal();
    CPoint scroll = host.ScrollPosition();
    return {client.Width(), client.Height(), total.cx, total.cy, scroll.x, scroll.y, state.zoomPercent};
}

CPoint ImageDisplay::ClientToImage(CPoint client) const {
    ViewGeometry::Point p = ViewGeometry::ClientToImage(Layout(), {client.x, client.y});
    return CPoint(p.x, p.y);
}

CPoint ImageDisplay::ImageToClient(CPoint image) const {
    ViewGeometry::Point p = ViewGeometry::ImageToClient(Layout(), {image.x, image.y});
    return CPoint(p.x, p.y);
}

CSize ImageDisplay::Zoomed(CSize image, int zoom) {
    return CSize(ZoomSteps::Scale(image.cx, zoom), ZoomSteps::Scale(image.cy, zoom));
}

CBitmap ImageDisplay::MakeReduced(HBITMAP image, int zoom) {
    CSize size = Zoomed(BitmapOps::SizeOf(image), zoom);
    return scaler.Reduce(image, host.EditorWindow(), size.cx, size.cy);
}

void ImageDisplay::ShowReduced(CBitmap reduced) {
    CBitmap shownUntilNow = std::move(displayBitmap);
    displayBitmap = std::move(reduced);
    scaler.KeepSpare(std::move(shownUntilNow));
}

HBITMAP ImageDisplay::Source() const {
    // While a direct grab waits to become the image, a reduced copy left from the image before
    // it is not the picture: only the background is shown.
    if (!state.imageBitmap) return nullptr;
    return state.zoomPercent < 100 ? static_cast<HBITMAP>(displayBitmap) : static_cast<HBITMAP>(state.imageBitmap);
}

void ImageDisplay::Paint() {
    if (!state.hasImage) return;
    HWND window = host.EditorWindow();
    ViewGeometry::Layout layout = Layout();
    const int width = layout.clientWidth, height = layout.clientHeight;
    if (width <= 0 || height <= 0) return;

    CClientDC screen(window);
    if (!backBuffer || backBufferSize.cx != width || backBufferSize.cy != height) {
        backBuffer.DeleteObject();
        backBuffer.CreateCompatibleBitmap(screen, width, height);
        backBufferSize = CSize(width, height);
    }
    // Off-screen when the bitmap could be made; straight onto the window otherwise.
    CDC offscreen;
    HDC target = screen;
    if (backBuffer && offscreen.CreateCompatibleDC(screen)) target = offscreen;
    CSelectGuard keepFrame(offscreen, target == screen ? nullptr : backBuffer.GetSafeHandle());

    HBITMAP source = Source();
    CSize size = BitmapOps::SizeOf(source);
    ViewGeometry::PaintRects r = ViewGeometry::Paint(layout, size.cx, size.cy);
    CRect picture(r.x.destination, r.y.destination, r.x.destination + r.x.destinationLength,
                  r.y.destination + r.y.destinationLength);
    if (size.cx <= 0 || size.cy <= 0) picture = CRect();

    // The background colour wherever the picture does not cover the client area.
    CBrush background(state.backgroundColor);
    {
        CSelectGuard keepBrush(target, background.GetSafeHandle());
        if (picture.IsRectEmpty()) {
            ::PatBlt(target, 0, 0, width, height, PATCOPY);
        } else {
            const CRect bands[] = {{0, 0, width, picture.top},
                                   {0, picture.bottom, width, height},
                                   {0, picture.top, picture.left, picture.bottom},
                                   {picture.right, picture.top, width, picture.bottom}};
            for (const CRect& b : bands)
                if (!b.IsRectEmpty()) ::PatBlt(target, b.left, b.top, b.Width(), b.Height(), PATCOPY);
        }
    }

    CDC sourceDC;
    if (!picture.IsRectEmpty() && sourceDC.CreateCompatibleDC(screen)) {
        CSelectGuard keepSource(sourceDC, source);
        if (r.stretch) {
            ::SetStretchBltMode(target, COLORONCOLOR);
            ::StretchBlt(target, r.x.destination, r.y.destination, r.x.destinationLength, r.y.destinationLength,
                         sourceDC, r.x.source, r.y.source, r.x.sourceLength, r.y.sourceLength, SRCCOPY);
        } else {
            ::BitBlt(target, r.x.destination, r.y.destination, r.x.destinationLength, r.y.destinationLength,
                     sourceDC, r.x.source, r.y.source, SRCCOPY);
        }
    }
    if (target != screen) ::BitBlt(screen, 0, 0, width, height, offscreen, 0, 0, SRCCOPY);
}
