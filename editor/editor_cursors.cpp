#include "editor/editor_cursors.h"

#include "framework/cursors.h"
#include "res/resource.h"

namespace EditorCursors {

HCURSOR ClosedHand() { return AfxLoadCursor(IDC_CURSOR_CLOSED_HAND); }
HCURSOR OpenHand() { return AfxLoadCursor(IDC_CURSOR_OPEN_HAND); }
HCURSOR SelectCross() { return AfxLoadCursor(IDC_CURSOR_SELECT); }

HCURSOR ForHitCode(int code) {
    switch (code) {
    case 1: case 8: return AfxLoadStandardCursor(IDC_SIZENWSE);
    case 2: case 7: return AfxLoadStandardCursor(IDC_SIZENS);
    case 3: case 6: return AfxLoadStandardCursor(IDC_SIZENESW);
    case 4: case 5: return AfxLoadStandardCursor(IDC_SIZEWE);
    case 9: return AfxLoadStandardCursor(IDC_SIZEALL);
    default: return SelectCross();
    }
}

}  // namespace EditorCursors
