#pragma once
// The windows on the screen as they stand at one moment, as a tree in z-order, so that the window
// agent can later find the window under the pointer as it was when the screen was frozen, even if
// the real windows have moved since.
#include <vector>

#include "capture/capture_geometry.h"

// Every visible, uncloaked top-level window with its visible child windows, topmost first. A child
// window's rectangle is cut to its parent's client area, where the system clips it too.
std::vector<CaptureGeometry::WindowNode> SnapshotWindows();
