#pragma once
// Cursors: those of the program's resources and the system's shared ones. Both are shared
// handles that are never destroyed.
#include <windows.h>

#include "framework/win_app.h"

// A cursor resource of the module this framework is linked into; null when it has none.
inline HCURSOR AfxLoadCursor(UINT id) {
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
}

// One of the system's cursors (IDC_ARROW, IDC_SIZEALL, ...).
inline HCURSOR AfxLoadStandardCursor(LPCSTR name) { return ::LoadCursorA(nullptr, name); }
