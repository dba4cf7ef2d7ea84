#pragma once
// The four dock bars of a frame and the floating one, named by their control ids. Platform-free:
// the bar arithmetic asks these questions without a window.
#include "framework/resource_ids.h"

namespace dock {

constexpr unsigned kTop = AFX_IDW_DOCKBAR_TOP;
constexpr unsigned kLeft = AFX_IDW_DOCKBAR_LEFT;
constexpr unsigned kRight = AFX_IDW_DOCKBAR_RIGHT;
constexpr unsigned kBottom = AFX_IDW_DOCKBAR_BOTTOM;
constexpr unsigned kFloating = AFX_IDW_DOCKBAR_FLOAT;

// Bars in the top and bottom dock bars lie along the x axis; those at the left and right along y.
inline bool IsHorizontal(unsigned side) { return side == kTop || side == kBottom; }
inline bool IsVertical(unsigned side) { return side == kLeft || side == kRight; }
// Any other value (the floating dock bar, or none) counts as floating.
inline bool IsDocked(unsigned side) { return IsHorizontal(side) || IsVertical(side); }

}  // namespace dock
