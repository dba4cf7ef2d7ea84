#include "app/settings_store.h"

#include <windows.h>

#include "app/atomic_file.h"
#include "app/settings_file_format.h"
#include "app/settings_location.h"
#include "app/settings_ranges.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kValueName[] = "Varnicklet";

bool ValuePresentUnder(HKEY root) {
    HKEY key;
    if (::RegOpenKeyExA(root, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char data[260];
    DWORD size = sizeof data;
    // Present is present, whatever the data says (even data too long for the buffer).
    LONG status = ::RegQueryValueExA(key, kValueName, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

bool SetUnder(HKEY key, const std::string& exePath) {
    // The value is a command line: unquoted, a path with spaces ("C:\Program Files\...") would let
    // Windows start a program named by its first word ("C:\Program.exe").
    std::string command = "\"";
    command.append(exePath).push_back('"');
    // The data length is the text's length without the terminating zero.
    return ::RegSetValueExA(key, kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                            static_cast<DWORD>(command.size())) == ERROR_SUCCESS;
}

void RemoveUnder(HKEY root) {
    HKEY key;
    if (::RegOpenKeyExA(root, kRunKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueA(key, kValueName);
    ::RegCloseKey(key);
}

}  // namespace

std::string SettingsStore::SettingsPath() {
    return SettingsFilePath("configure.dat");
}

bool SettingsStore::LoadFile(CaptureSettings& settings) {
    std::string bytes;
    if (!AtomicFile::Read(SettingsPath(), bytes, SettingsFileFormat::kFileSize)) return false;
    SettingsFileFormat::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), settings);
    SettingsRanges::Repair(settings);
    return true;
}

bool SettingsStore::SaveFile(const CaptureSettings& settings) {
    SettingsFileFormat::Bytes bytes = SettingsFileFormat::Encode(settings);
    return AtomicFile::Replace(SettingsPath(), bytes.data(), bytes.size());
}

bool AutostartEntry::IsPresent() {
    return ValuePresentUnder(HKEY_LOCAL_MACHINE) || ValuePresentUnder(HKEY_CURRENT_USER);
}

bool AutostartEntry::Set(const std::string& exePath) {
    HKEY key;
    bool machineKey = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS;
    if (!machineKey)
        machineKey = ::RegCreateKeyA(HKEY_LOCAL_MACHINE, "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                                     &key) == ERROR_SUCCESS;
    if (machineKey) {
        bool ok = SetUnder(key, exePath);
        ::RegCloseKey(key);
        if (ok) return true;
    }
    // The machine-wide key is closed to us: the user's own Run key starts the program just as well.
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = SetUnder(key, exePath);
    ::RegCloseKey(key);
    return ok;
}

void AutostartEntry::Remove() {
    RemoveUnder(HKEY_LOCAL_MACHINE);
    RemoveUnder(HKEY_CURRENT_USER);
}
