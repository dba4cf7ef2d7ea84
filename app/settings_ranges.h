#pragma once
// The range of every field of the settings record (platform-free). configure.dat is ours but can
// be edited, damaged or written by another version: a value outside its range would make every
// capture save nothing, so it is read as the field's default and goes back to disk valid.
#include "app/capture_settings.h"

namespace SettingsRanges {

// The characters a base name may not hold, in the order they are looked for.
constexpr char kForbiddenBaseNameCharacters[] = "\"/\\?*><|:";

bool IsCaptureMode(int32_t mode);  // 1 to 6
bool IsSaveMode(int32_t mode);     // 1 or 2
bool IsFileFormat(int32_t format); // a format the save path knows

// Sets each field outside its range to its default; a save directory without its closing
// backslash gets one when it fits. True when anything was changed. runAtStartup is not touched.
bool Repair(CaptureSettings& settings);

}  // namespace SettingsRanges
