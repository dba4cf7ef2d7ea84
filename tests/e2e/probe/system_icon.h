// Which system icon (information, question, warning, error, application) an icon static shows.
//
// First by handle: STM_GETICON against LoadIcon(NULL, IDI_...). On Windows the system icons are
// shared, so the handles agree across processes. Under Wine every process loads its own copies, so
// the handles never agree; then the static's pixels on the screen are compared with each system
// icon drawn the way a static draws it (the icon must not be covered).
#pragma once

#include <windows.h>

#include <string>

struct IconIdentity {
    std::string kind;    // "information", "question", "warning", "error", "application"; "" if unknown
    std::string method;  // "handle" or "pixels"; "" if unknown
    double match = 0;    // share of the icon's opaque pixels that agree (1.0 for a handle match)
};

bool isIconStatic(HWND hwnd);
IconIdentity identifySystemIcon(HWND iconStatic);
