#include "editor/annotate/area_refresh.h"

#include <algorithm>

#include "editor/bitmap_ops.h"
#include "framework/gdi.h"

namespace AreaRefresh {

namespace {

int Down(int value, int zoom) { return static_cast<int>(static_cast<long long>(value) * zoom / 100); }
int Up(int value, int zoom) { return static_cast<int>((static_cast<long long>(value) * zoom + 99) / 100); }

}  // namespace

void Show(HWND window, const ViewGeometry::Layout& layout, HBITMAP image, HBITMAP reduced,
          const MarkGeometry::Box& area) {
    if (area.Empty() || !image) return;
    const int zoom = layout.zoom;
    CClientDC screen(window);
    CDC source;
    if (!source.CreateCompatibleDC(screen)) return;

    if (zoom < 100) {
        if (!reduced) return;
        const CSize size = BitmapOps::SizeOf(reduced);
        // The reduced pixels the area touches, drawn again from the image's pixels under them.
        MarkGeometry::Box small = MarkGeometry::Intersect(
            {Down(area.left, zoom), Down(area.top, zoom), Up(area.right, zoom), Up(area.bottom, zoom)},
            {0, 0, static_cast<int>(size.cx), static_cast<int>(size.cy)});
        if (small.Empty()) return;
        {
            CDC to;
            if (!to.CreateCompatibleDC(screen)) return;
            CSelectGuard keepTo(to, reduced);
            CSelectGuard keepFrom(source, image);
            ::SetStretchBltMode(to, HALFTONE);
            ::SetBrushOrgEx(to, 0, 0, nullptr);
            const int x = small.left * 100 / zoom, y = small.top * 100 / zoom;
            const int w = std::max(1, small.Width() * 100 / zoom), h = std::max(1, small.Height() * 100 / zoom);
            ::StretchBlt(to, small.left, small.top, small.Width(), small.Height(), source, x, y, w, h, SRCCOPY);
        }
        const ViewGeometry::Point at = ViewGeometry::ImageToClient(layout, {0, 0});
        CSelectGuard keep(source, reduced);
        ::BitBlt(screen, at.x + small.left, at.y + small.top, small.Width(), small.Height(), source, small.left,
                 small.top, SRCCOPY);
        return;
    }
    const ViewGeometry::Point a = ViewGeometry::ImageToClient(layout, {area.left, area.top});
    const ViewGeometry::Point b = ViewGeometry::ImageToClient(layout, {area.right, area.bottom});
    CSelectGuard keep(source, image);
    if (zoom == 100) {
        ::BitBlt(screen, a.x, a.y, area.Width(), area.Height(), source, area.left, area.top, SRCCOPY);
    } else {
        // Whole pixels stretched by a whole factor, as the view's paint stretches them.
        ::SetStretchBltMode(screen, COLORONCOLOR);
        ::StretchBlt(screen, a.x, a.y, b.x - a.x, b.y - a.y, source, area.left, area.top, area.Width(), area.Height(),
                     SRCCOPY);
    }
}

}  // namespace AreaRefresh
