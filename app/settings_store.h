#pragma once
// Where the settings live: configure.dat (beside the executable, or in the user's folder where the
// executable's folder cannot be written), and the autostart value in the registry's Run key.
#include <string>

#include "app/capture_settings.h"

class SettingsStore {
public:
    // configure.dat in the folder SettingsFilePath chooses.
    static std::string SettingsPath();

    // Overwrites `settings` from the file (a short file fills only what it holds wholly); a value
    // outside its range is read as its default.
    // False when the file cannot be opened or read; `settings` is then untouched.
    static bool LoadFile(CaptureSettings& settings);
    // Replaces the file atomically; false when it could not be written (nothing is damaged then).
    static bool SaveFile(const CaptureSettings& settings);
};

// The autostart value "Varnicklet" under ...\CurrentVersion\Run. It belongs under
// HKEY_LOCAL_MACHINE; where that key cannot be written (a standard user) the same value under
// HKEY_CURRENT_USER keeps the setting working, so reading checks both and removing removes both.
class AutostartEntry {
public:
    static bool IsPresent();
    // Sets the value to `exePath` in double quotes; false when neither key could be written.
    static bool Set(const std::string& exePath);
    static void Remove();
};
