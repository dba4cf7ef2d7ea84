#pragma once
// capture-options.dat beside the program: read at start, replaced in one step at exit.
#include "app/capture_settings.h"

namespace CaptureOptionsStore {

// Takes the options from the file; a missing or damaged file leaves them as they are (the
// defaults at start: no delay, no pointer). False when there was no usable file.
bool Load(CaptureSettings& settings);
// False when the file could not be written; the old one then stays whole.
bool Save(const CaptureSettings& settings);

}  // namespace CaptureOptionsStore
