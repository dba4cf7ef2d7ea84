#pragma once
// The system's "Browse for Folder" dialog, limited to folders of the file system.
#include <string>

#include <windows.h>

// Shows the dialog with `title` above the tree; true with the chosen folder's path in `path`
// (without a closing backslash unless it is a drive root), false when the user cancelled or the
// choice has no file-system path.
bool BrowseForFolder(HWND owner, const char* title, std::string& path);
