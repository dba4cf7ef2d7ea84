// The fields the probe reports for a window. Rectangles are [left, top, right, bottom] in screen
// coordinates; handles are plain numbers (0 for none).
#pragma once

#include "json_writer.h"

#include <windows.h>

int64_t handleNumber(const void* handle);
void writeRect(JsonWriter& out, const char* name, const RECT& r);

// hwnd, pid, tid, class, caption, visible, enabled, minimized, maximized, topmost, rect, client,
// style, exstyle, owner, parent: written as fields of the current object.
void writeWindowFields(JsonWriter& out, HWND hwnd);

// A child control as one object: hwnd, id, class, text (WM_GETTEXT), rect, visible, enabled,
// checked (BM_GETCHECK for buttons, otherwise null), style, exstyle, parent.
void writeControl(JsonWriter& out, HWND hwnd);
