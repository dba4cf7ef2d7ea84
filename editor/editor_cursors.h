#pragma once
// The cursors of the mouse tools: the program's own hands and select cross, and the system's sizing
// arrows for the selection's handles.
#include <windows.h>

namespace EditorCursors {

HCURSOR ClosedHand();   // panning (program cursor 146)
HCURSOR OpenHand();     // Move tool, button up (147)
HCURSOR SelectCross();  // Select tool where a new rectangle would start (186)
// The cursor of a hit code of the selection outline: the sizing arrows for handles 1 to 8, the
// four-way arrow inside, the select cross elsewhere.
HCURSOR ForHitCode(int code);

}  // namespace EditorCursors
