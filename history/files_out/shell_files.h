#pragma once
// Handing saved files to other programs the way the shell does: on the clipboard as files (paste
// them in Explorer, a mail or a chat), and Explorer opened on a file's folder with the file
// selected.
#include <windows.h>

#include <string>
#include <vector>

namespace ShellFiles {

// The paths of `paths` whose file is there now, in the same order.
std::vector<std::string> Existing(const std::vector<std::string>& paths);

// A movable global block in the file-drop format (CF_HDROP); null for no paths or no memory.
HGLOBAL MakeDropHandle(const std::vector<std::string>& paths);

// Puts the files on the clipboard, marked to be copied (not moved) when pasted; false when the
// clipboard could not be had or there is nothing to put there.
bool CopyToClipboard(HWND owner, const std::vector<std::string>& paths);

// Opens Explorer on the folder of `path` with the file selected; false when it could not start.
bool OpenContainingFolder(const std::string& path);

}  // namespace ShellFiles
