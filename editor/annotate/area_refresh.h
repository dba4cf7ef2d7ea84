#pragma once
// Showing image pixels that changed without a paint of the whole view: the reduced copy (below
// 100 %) follows the area, then only the area's window pixels are drawn, as a full paint would
// draw them.
#include <windows.h>

#include "editor/annotate/mark_geometry.h"
#include "editor/view_geometry.h"

namespace AreaRefresh {

// `image` changed in `area`: below 100 % `reduced` (its reduced copy, may be null) is brought up to
// date there, then the window shows the area.
void Show(HWND window, const ViewGeometry::Layout& layout, HBITMAP image, HBITMAP reduced,
          const MarkGeometry::Box& area);

}  // namespace AreaRefresh
