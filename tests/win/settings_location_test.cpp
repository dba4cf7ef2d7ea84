// The settings files' folder on a real file system: the program's folder while it can be written,
// and the user's %APPDATA%\Tessaly otherwise (the read-only case runs end to end, where the folder
// can really be closed to writing).
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "app/program_folder.h"
#include "app/settings_location.h"

TEST(SettingsLocation, WritableProgramFolderHoldsTheFilesAndNoProbeIsLeft) {
    const std::string exe = ProgramPath();
    const std::string folder = exe.substr(0, exe.find_last_of('\\') + 1);
    EXPECT_EQ(SettingsFilePath("configure.dat"), folder + "configure.dat");
    EXPECT_EQ(SettingsFilePath("annotate.dat"), folder + "annotate.dat");

    // The writing check cleans up after itself.
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "~tessaly-write-check*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
}

TEST(SettingsLocation, UserFolderIsCreatedUnderAppData) {
    char appData[MAX_PATH] = "";
    ASSERT_TRUE(SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData)));
    const std::string expected = std::string(appData) + "\\Tessaly";
    ::RemoveDirectoryA(expected.c_str());
    EXPECT_EQ(UserSettingsFolder(), expected + "\\");
    const DWORD attributes = ::GetFileAttributesA(expected.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
