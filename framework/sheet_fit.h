#pragma once
// Room for property pages whose font is not the sheet's own. The system sizes the page area from
// each page's template in the sheet font's dialog units, so a page in a larger font comes out
// clipped, the more the larger the display scale. These measure each page in its own font and
// grow the sheet to fit.
#include <windows.h>

namespace sheet_fit {

// The size in pixels that the dialog template `name` asks for, in its own font at the current
// display scale; {0, 0} when the template cannot be read.
SIZE TemplateSize(HWND sheet, HINSTANCE instance, const char* name);

// Grows the sheet, its tab control and its current page, and moves its buttons, so that the page
// area holds `needed`. Nothing changes when it holds it already.
void GrowPageArea(HWND sheet, SIZE needed);

// Gives a page the sheet's whole page area (pages made after the sheet grew).
void FitPage(HWND sheet, HWND page);

}  // namespace sheet_fit
