#pragma once
// Dragging files out of the program: the files go as the shell's file-drop format, so Explorer,
// mail and chat programs take them as if dragged from a folder.
#include <windows.h>

#include <string>
#include <vector>

namespace FileDragSource {

// Runs the drag (the left button is down) until the user drops or cancels; returns the effect the
// receiver reported (DROPEFFECT_NONE when nobody took the files, or they could not be offered).
DWORD DragFiles(const std::vector<std::string>& paths);

}  // namespace FileDragSource
