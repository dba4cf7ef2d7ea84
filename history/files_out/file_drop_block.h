#pragma once
// The shell's file-drop format (CF_HDROP) as bytes (platform-free): a 20-byte header - the offset
// of the list (20), a drop point (0, 0), "not in the client area" (0) and "wide characters" (0) -
// then each path with its zero byte, and one more zero byte ending the list. Explorer, mail and
// chat programs take files pasted or dropped in this form.
#include <cstdint>
#include <string>
#include <vector>

namespace FileDropBlock {

constexpr size_t kHeaderSize = 20;

// The block for `paths` (ANSI, full paths); empty when there are no paths, since a drop of no
// files means nothing to the receiver.
std::vector<uint8_t> Make(const std::vector<std::string>& paths);

// The paths in a block made by Make (or by any other program, ANSI or wide with ASCII text);
// none for a block that is too short or whose list starts outside it.
std::vector<std::string> Read(const std::vector<uint8_t>& block);

// The command line that opens Explorer on the folder of `path` with the file selected.
std::string ExplorerSelectArguments(const std::string& path);

}  // namespace FileDropBlock
