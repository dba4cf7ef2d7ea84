#pragma once
// What an Open dialog with multiple selection hands back (platform-free). The buffer holds either
// one full path, or a folder followed by the chosen file names; each text ends with a zero byte
// and an empty text ends the list: "c:\shots\0a.bmp\0b.gif\0\0".
#include <cstddef>
#include <string>
#include <vector>

namespace MultiSelection {

// The full paths chosen, in the order the dialog gave them. Never reads past `size` bytes, and
// a buffer without its final terminators ends where it ends.
std::vector<std::string> Parse(const char* buffer, size_t size);

// A history row's name for an added file: the text after the path's last backslash.
std::string LinkName(const std::string& path);

}  // namespace MultiSelection
