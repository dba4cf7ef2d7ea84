#pragma once
// The capture options kept beside configure.dat in a small file of their own (platform-free): the
// delay before each capture and whether the mouse pointer goes into the picture. configure.dat
// keeps its 557 bytes; a setup without the options file (or with a damaged one) captures at once
// and without the pointer.
//
// capture-options.dat: "TSCO", a version byte (1), the delay in seconds, the pointer flag (0/1).
// Later versions may add bytes after these; this reader takes the fields it knows.
#include <cstddef>
#include <string>

#include "app/capture_settings.h"

namespace CaptureOptions {

constexpr char kFileName[] = "capture-options.dat";
constexpr size_t kFileSize = 7;
constexpr size_t kReadLimit = 64;  // enough for any later version; a bigger file is not ours

// The delays offered, in the order of the Configure page's combo and the Capture menus' submenu.
constexpr int kDelayChoices[] = {0, 1, 3, 5, 10};
constexpr int kDelayChoiceCount = 5;
// `seconds` when it is one of the offered delays, otherwise none.
int OfferedDelay(int seconds);
// The position of `seconds` among the offered delays; 0 (no delay) for any other value.
int DelayChoiceIndex(int seconds);
// The delay at `index`; none for a position that does not exist.
int DelayAtChoice(int index);

std::string Encode(const CaptureSettings& settings);
// Takes the options from a file's bytes into `settings`; false (and `settings` untouched) when the
// bytes are not such a file. A delay that is not offered reads as none.
bool Decode(const std::string& bytes, CaptureSettings& settings);

}  // namespace CaptureOptions
