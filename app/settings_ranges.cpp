#include "app/settings_ranges.h"

#include "app/settings_file_format.h"
#include "imagefile/save_naming.h"

namespace SettingsRanges {
namespace {

// Puts `field` back to `fallback` unless `valid`; records that something changed.
template <typename T>
void Keep(T& field, bool valid, const T& fallback, bool& changed) {
    if (valid) return;
    field = fallback;
    changed = true;
}

bool IsFlag(uint8_t value) { return value <= 1; }

bool IsBaseName(const std::string& name) {
    return name.find_first_of(kForbiddenBaseNameCharacters) == std::string::npos;
}

}  // namespace

bool IsCaptureMode(int32_t mode) { return mode >= 1 && mode <= 6; }  // 6: the monitor under the pointer
bool IsSaveMode(int32_t mode) { return mode == 1 || mode == 2; }
bool IsFileFormat(int32_t format) { return SaveNaming::IsKnownFormat(format); }

bool Repair(CaptureSettings& s) {
    const CaptureSettings d;
    bool changed = false;
    Keep(s.captureMode, IsCaptureMode(s.captureMode), d.captureMode, changed);
    Keep(s.saveMode, IsSaveMode(s.saveMode), d.saveMode, changed);
    Keep(s.fileFormat, IsFileFormat(s.fileFormat), d.fileFormat, changed);
    Keep(s.jpegQuality, s.jpegQuality >= 0 && s.jpegQuality <= 100, d.jpegQuality, changed);
    for (uint8_t CaptureSettings::*flag :
         {&CaptureSettings::playSound, &CaptureSettings::showInfoDialog, &CaptureSettings::saveSettingsOnExit,
          &CaptureSettings::showEditor, &CaptureSettings::copyToClipboard, &CaptureSettings::saveToFile,
          &CaptureSettings::jpegGrayscale, &CaptureSettings::jpegProgressive, &CaptureSettings::jpegSmoothing})
        Keep(s.*flag, IsFlag(s.*flag), d.*flag, changed);
    // A COLORREF's top byte selects palette forms the view does not paint with.
    Keep(s.backgroundColor, (s.backgroundColor >> 24) == 0, d.backgroundColor, changed);
    Keep(s.baseName, IsBaseName(s.baseName), d.baseName, changed);

    // Automatic names are the folder text followed straight by the base name.
    if (s.saveDirectory.empty()) {
        Keep(s.saveDirectory, false, d.saveDirectory, changed);
    } else if (s.saveDirectory.back() != '\\') {
        if (s.saveDirectory.size() < SettingsFileFormat::kMaxTextLength) s.saveDirectory += '\\';
        else s.saveDirectory = d.saveDirectory;
        changed = true;
    }
    return changed;
}

}  // namespace SettingsRanges
