#pragma once
// The Edit page's own rules (platform-free): which controls are usable after each event, the
// sample file name, and how the start field's text becomes a number.
#include <string>

namespace SavePageRules {

// What an event does to one group of controls.
enum class Enable { kUnchanged, kOn, kOff };

// The groups of the page whose state the events change:
//   radios  - the "Show 'Save as' dialog" and "Auto Save after capture" radios;
//   naming  - "Saving files", the directory, base name and format labels, both edits, Browse, the combo;
//   counter - the start field, its label and its spin;
//   setting - the JPEG "Setting" button.
struct Enabling {
    Enable radios = Enable::kUnchanged;
    Enable naming = Enable::kUnchanged;
    Enable counter = Enable::kUnchanged;
    Enable setting = Enable::kUnchanged;
    bool operator==(const Enabling&) const = default;
};

// "Setting" follows the format combo: usable for "jpg" (1), not for "bmp" (0), "gif" (2) or "png" (3);
// without a selection (-1) it stays as it is.
Enable SettingForSelection(int selection);

// When the page opens; the radios are read from their states, not from the controls.
Enabling AtInitialisation(bool saveToFile, bool autoSaveChecked, bool saveAsChecked, int selection);
// The two radios (their handlers also set both check states).
Enabling OnAutoSaveClicked(int selection);
Enabling OnSaveAsClicked();
// "save to file" clicked; reads the live state of the auto-save radio.
Enabling OnSaveToFileClicked(bool nowChecked, bool autoSaveChecked, int selection);
Enabling OnFormatChanged(int selection);

// `directory` with a closing backslash (an empty text becomes "\").
void EnsureTrailingBackslash(std::string& directory);
// The sample file name: directory (with its closing backslash) + base name + the start field's
// text as typed + "." + format text. `directory` gains the backslash, as the member does.
std::string SampleFileName(std::string& directory, const std::string& baseName,
                           const std::string& counterText, const std::string& formatText);

// The start number: atoi of at most the first four characters of the field.
int StartNumberFromText(const std::string& text);

// The spin shows positions 0 to 999 only; a start number outside them is written into the field
// as it is, so that opening the page does not change it.
bool SpinCanShow(int number);

}  // namespace SavePageRules
