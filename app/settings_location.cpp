#include "app/settings_location.h"

#include <windows.h>
#include <shlobj.h>

#include "app/program_folder.h"
#include "app/settings_place.h"

namespace {

bool Exists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Tried, not guessed from attributes: a folder's read-only flag says nothing on Windows, and the
// access rules of a shared folder are only known by asking for access.
bool FolderWritable(const std::string& folder) {
    char name[64];
    wsprintfA(name, "~tessaly-write-check-%lu.tmp", ::GetCurrentProcessId());
    HANDLE probe = ::CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(probe);
    return true;
}

}  // namespace

std::string UserSettingsFolder() {
    char appData[MAX_PATH] = "";
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, appData)) || !*appData)
        return std::string();
    const std::string folder = std::string(appData) + "\\Tessaly";
    ::CreateDirectoryA(folder.c_str(), nullptr);  // already there is fine
    return folder + "\\";
}

std::string SettingsFilePath(const char* name) {
    const std::string beside = BesideProgram(name);
    const std::string programFolder = beside.substr(0, beside.size() - std::string(name).size());
    SettingsPlaceFacts facts;
    facts.programFolderWritable = FolderWritable(programFolder);
    if (facts.programFolderWritable) return beside;

    const std::string userFolder = UserSettingsFolder();
    if (userFolder.empty()) return beside;  // nowhere better: the old place, read-only as it is
    const std::string inUserFolder = userFolder + name;
    facts.besideProgramExists = Exists(beside);
    facts.inUserFolderExists = Exists(inUserFolder);
    const SettingsPlaceChoice choice = ChooseSettingsPlace(facts);
    if (choice.copyFromBesideProgram) ::CopyFileA(beside.c_str(), inUserFolder.c_str(), TRUE);
    return choice.place == SettingsPlace::kUserFolder ? inUserFolder : beside;
}
