#pragma once
// The system's HTML Help viewer, loaded when first needed: a missing viewer is answered like a
// missing help file, with no window.
#include <string>

#include <windows.h>

namespace html_help {

// Opens the help file's default topic; null when no window came up.
HWND DisplayTopic(HWND owner, const std::string& helpFile);

}  // namespace html_help
