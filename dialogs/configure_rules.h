#pragma once
// The Configure command's rules (platform-free): how the settings go into the pages, and how the
// pages' values come back into the settings with their checks.
#include <cstdint>
#include <string>

#include "app/capture_settings.h"
#include "app/settings_ranges.h"
#include "dialogs/configure_values.h"

namespace ConfigureRules {

// RegisterHotKey's modifiers (1 Alt, 2 Control, 4 Shift) and the hot-key control's flags
// (1 Shift, 2 Control, 4 Alt, 8 extended key) name the same keys with different bits.
uint16_t HotKeyFlagsFromModifiers(uint16_t modifiers);
// The extended-key flag has no modifier: it is dropped.
uint16_t ModifiersFromHotKeyFlags(uint16_t flags);

// The characters a base name may not hold, in the order they are looked for.
inline constexpr auto& kForbiddenBaseNameCharacters = SettingsRanges::kForbiddenBaseNameCharacters;
// The first forbidden character found (in the order above), or 0 when the name is acceptable.
// An empty name is acceptable.
char ForbiddenCharacterIn(const std::string& baseName);

// The directory to store for the page's text: the text with a closing backslash, when the text
// names an existing directory and the result fits the settings file's 259 characters; empty when
// the text must be refused.
std::string DirectoryToStore(const std::string& pageText, bool namesADirectory);

// The radio states that show `captureMode`; any other mode leaves all six unchecked.
void SetCaptureRadios(CapturePageValues& page, int captureMode);
// The first checked radio in the order full screen, active window, window/control, rectangle,
// direct grab, monitor under the pointer; `current` when none is checked.
int CaptureModeFromRadios(const CapturePageValues& page, int current);

struct PageValues {
    CapturePageValues capture;
    SavePageValues save;
};

// Step 4 of the command: the settings as the pages show them.
PageValues CopyIn(const CaptureSettings& settings);

struct TakeBackOutcome {
    bool directoryRefused = false;  // the old directory stays; say so first
    bool baseNameRefused = false;   // the old base name stays; say so second
};

// Step 6 of the command, after OK: the pages' values into the settings. `directoryExists` tells
// whether the page's directory text names an existing directory.
TakeBackOutcome TakeBack(const PageValues& pages, bool directoryExists, CaptureSettings& settings);

}  // namespace ConfigureRules
