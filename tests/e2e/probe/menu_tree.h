// A menu as a JSON tree: for each item id, text, separator, grayed, disabled, checked, default,
// radio, rect (on screen while shown, else null) and submenu (null or the items of the submenu).
#pragma once

#include "json_writer.h"

#include <windows.h>

// False when the menu cannot be read from this process (GetMenuItemCount fails: under Wine a
// menu belongs to the process that made it).
bool menuReadable(HMENU menu);

// `owner` is the window of a menu bar, null for a popup menu (item rectangles need it).
void writeMenuItems(JsonWriter& out, HMENU menu, HWND owner);

// Sends WM_INITMENUPOPUP for every submenu, as opening the menus would, so that a program that
// updates its items on that message has set their states before they are read.
void initMenuPopups(HWND owner, HMENU menu);
