#include "dialogs/save_page_rules.h"

#include <cstdlib>

namespace SavePageRules {

Enable SettingForSelection(int selection) {
    if (selection == 1) return Enable::kOn;
    if (selection == 0 || selection == 2 || selection == 3) return Enable::kOff;
    return Enable::kUnchanged;
}

Enabling AtInitialisation(bool saveToFile, bool autoSaveChecked, bool saveAsChecked, int selection) {
    if (!saveToFile) return {Enable::kOff, Enable::kOff, Enable::kOff, Enable::kOff};
    if (autoSaveChecked) return {Enable::kOn, Enable::kOn, Enable::kOn, SettingForSelection(selection)};
    if (saveAsChecked) return {Enable::kOn, Enable::kOff, Enable::kUnchanged, Enable::kOff};
    return {Enable::kOn, Enable::kUnchanged, Enable::kUnchanged, Enable::kUnchanged};
}

Enabling OnAutoSaveClicked(int selection) {
    return {Enable::kUnchanged, Enable::kOn, Enable::kOn, SettingForSelection(selection)};
}

Enabling OnSaveAsClicked() {
    return {Enable::kUnchanged, Enable::kOff, Enable::kOff, Enable::kOff};
}

Enabling OnSaveToFileClicked(bool nowChecked, bool autoSaveChecked, int selection) {
    if (!nowChecked) return {Enable::kOff, Enable::kOff, Enable::kOff, Enable::kOff};
    if (autoSaveChecked) return {Enable::kOn, Enable::kOn, Enable::kOn, SettingForSelection(selection)};
    return {Enable::kOn, Enable::kOff, Enable::kUnchanged, Enable::kOff};
}

Enabling OnFormatChanged(int selection) {
    return {Enable::kUnchanged, Enable::kUnchanged, Enable::kUnchanged, SettingForSelection(selection)};
}

void EnsureTrailingBackslash(std::string& directory) {
    if (directory.empty() || directory.back() != '\\') directory += '\\';
}

std::string SampleFileName(std::string& directory, const std::string& baseName,
                           const std::string& counterText, const std::string& formatText) {
    EnsureTrailingBackslash(directory);
    return directory + baseName + counterText + "." + formatText;
}

int StartNumberFromText(const std::string& text) {
    return std::atoi(text.substr(0, 4).c_str());
}

bool SpinCanShow(int number) { return number >= 0 && number <= 999; }

}  // namespace SavePageRules
