#pragma once
// Texts of the window chrome that need no window: the help file's place, the messages shown when
// help or a link cannot be opened, and copies into the fixed text buffers of system records.
#include <cstddef>
#include <string>

namespace chrome_text {

// "Help.chm" in the folder of the program whose full path is `modulePath` (cut at its last
// backslash). A path without any backslash has no folder part.
std::string HelpFilePath(const std::string& modulePath);

// "Can't find help files:" followed directly by the path.
std::string HelpMissingMessage(const std::string& helpPath);

// "Unable to open " + target + ".".
std::string LinkFailureMessage(const std::string& target);

// Copies `text` into `buffer` of `capacity` bytes, cut so that the terminator always fits.
// Returns false when the text had to be cut. A zero capacity writes nothing.
bool CopyBounded(char* buffer, std::size_t capacity, const std::string& text);

}  // namespace chrome_text
