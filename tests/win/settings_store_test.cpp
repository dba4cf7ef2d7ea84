// configure.dat beside the executable, its atomic replacement, and the autostart value.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/atomic_file.h"
#include "app/exit_write.h"
#include "app/program_folder.h"
#include "app/settings_store.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string ExeFolder() {
    std::string exe = ProgramPath();
    return exe.substr(0, exe.find_last_of('\\'));
}

DWORD FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return DWORD(-1);
    return data.nFileSizeLow;
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetRawValue(HKEY root, DWORD type, const void* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(::RegCreateKeyExA(root, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
    ::RegSetValueExA(key, "Varnicklet", 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

std::string ReadValue(HKEY root) {
    HKEY key;
    if (::RegOpenKeyExA(root, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
    char data[600] = "";
    DWORD size = sizeof data - 1, type = 0;
    LONG status = ::RegQueryValueExA(key, "Varnicklet", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) return "<absent>";
    return type == REG_SZ ? std::string(data, strnlen(data, size)) : "<other type>";
}

TEST(SettingsStore, FileLivesBesideTheExecutableAndRoundTrips) {
    EXPECT_EQ(SettingsStore::SettingsPath(), ExeFolder() + "\\configure.dat");
    ::DeleteFileA(SettingsStore::SettingsPath().c_str());
    CaptureSettings loaded;
    EXPECT_FALSE(SettingsStore::LoadFile(loaded));
    EXPECT_EQ(loaded, CaptureSettings{});

    CaptureSettings s;
    s.captureMode = 2;
    s.baseName = "Shot";
    s.nextNumber = 42;
    ASSERT_TRUE(SettingsStore::SaveFile(s));
    EXPECT_EQ(FileSize(SettingsStore::SettingsPath()), 557u);
    EXPECT_FALSE(Exists(SettingsStore::SettingsPath() + ".new"));
    ASSERT_TRUE(SettingsStore::LoadFile(loaded));
    EXPECT_EQ(loaded, s);
}

TEST(SettingsStore, ShortFileFillsOnlyWhatItHolds) {
    CaptureSettings s;
    s.hotKeyCode = 0x41;
    s.captureMode = 4;
    ASSERT_TRUE(SettingsStore::SaveFile(s));
    // Cut the file after captureMode (8 bytes).
    HANDLE f = ::CreateFileA(SettingsStore::SettingsPath().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    ::SetFilePointer(f, 8, nullptr, FILE_BEGIN);
    ::SetEndOfFile(f);
    ::CloseHandle(f);
    CaptureSettings loaded;
    ASSERT_TRUE(SettingsStore::LoadFile(loaded));
    EXPECT_EQ(loaded.hotKeyCode, 0x41);
    EXPECT_EQ(loaded.captureMode, 4);
    EXPECT_EQ(loaded.baseName, "Kelvane_");
}

TEST(SettingsStore, ValuesOutOfRangeAreReadAsDefaultsAndSavedValid) {
    CaptureSettings s;
    s.captureMode = 9;
    s.saveMode = 0;
    s.fileFormat = -1;
    s.nextNumber = 55;
    ASSERT_TRUE(SettingsStore::SaveFile(s));  // stored as given: the repair belongs to reading
    CaptureSettings loaded;
    ASSERT_TRUE(SettingsStore::LoadFile(loaded));
    CaptureSettings expected;
    expected.nextNumber = 55;
    EXPECT_EQ(loaded, expected);
    ASSERT_TRUE(SettingsStore::SaveFile(loaded));
    EXPECT_EQ(FileSize(SettingsStore::SettingsPath()), 557u);
}

TEST(AtomicFile, FailedReplaceKeepsTheOldFileAndLeavesNoTemporary) {
    std::string path = ExeFolder() + "\\atomic.dat";
    ASSERT_TRUE(AtomicFile::Replace(path, "old!", 4));
    std::string content;
    ASSERT_TRUE(AtomicFile::Read(path, content, 100));
    EXPECT_EQ(content, "old!");

    // A folder that does not exist: nothing is written, nothing is left.
    EXPECT_FALSE(AtomicFile::Replace(ExeFolder() + "\\no such folder\\x.dat", "new", 3));

    // A target that cannot be replaced (a folder in its place): the write fails cleanly.
    std::string blocked = ExeFolder() + "\\blocked.dat";
    ::CreateDirectoryA(blocked.c_str(), nullptr);
    EXPECT_FALSE(AtomicFile::Replace(blocked, "new", 3));
    EXPECT_FALSE(Exists(blocked + ".new"));
    ::RemoveDirectoryA(blocked.c_str());

    ASSERT_TRUE(AtomicFile::Read(path, content, 100));
    EXPECT_EQ(content, "old!");
    ::DeleteFileA(path.c_str());
}

TEST(AutostartEntry, SetAndRemovedUnderTheMachineRunKey) {
    AutostartEntry::Remove();
    EXPECT_FALSE(AutostartEntry::IsPresent());
    ASSERT_TRUE(AutostartEntry::Set(ProgramPath()));
    EXPECT_TRUE(AutostartEntry::IsPresent());
    std::string quoted = "\"";
    quoted.append(ProgramPath()).push_back('"');
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE), quoted);
    // Quoted, so that a folder with spaces never lets Windows run a program named by its first word.
    ASSERT_TRUE(AutostartEntry::Set("C:\\Program Files\\Tessaly\\Tessaly.exe"));
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE), "\"C:\\Program Files\\Tessaly\\Tessaly.exe\"");
    AutostartEntry::Remove();
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE), "<absent>");
    EXPECT_FALSE(AutostartEntry::IsPresent());
}

TEST(AutostartEntry, PresentWhateverItsDataAndInEitherRunKey) {
    AutostartEntry::Remove();
    DWORD number = 7;
    SetRawValue(HKEY_LOCAL_MACHINE, REG_DWORD, &number, sizeof number);
    EXPECT_TRUE(AutostartEntry::IsPresent());
    std::string longPath(400, 'p');  // longer than the 260-byte buffer it is read into
    SetRawValue(HKEY_LOCAL_MACHINE, REG_SZ, longPath.c_str(), 401);
    EXPECT_TRUE(AutostartEntry::IsPresent());
    SetRawValue(HKEY_LOCAL_MACHINE, REG_SZ, "", 0);
    EXPECT_TRUE(AutostartEntry::IsPresent());
    AutostartEntry::Remove();

    // A value only in the user's own Run key counts, and removing clears it too.
    SetRawValue(HKEY_CURRENT_USER, REG_SZ, "c:\\x.exe", 9);
    EXPECT_TRUE(AutostartEntry::IsPresent());
    AutostartEntry::Remove();
    EXPECT_FALSE(AutostartEntry::IsPresent());
    EXPECT_EQ(ReadValue(HKEY_CURRENT_USER), "<absent>");
}

TEST(ExitWrite, AFailedWriteNamesTheFileAndTheReasonAndMayBeRetried) {
    // A folder where the file's temporary should go blocks the write.
    const std::string path = ExeFolder() + "\\exit.dat", blocker = path + ".new";
    ::DeleteFileA(path.c_str());
    ASSERT_TRUE(::CreateDirectoryA(blocker.c_str(), nullptr));
    auto write = [&] { return AtomicFile::Replace(path, "data", 4); };

    std::vector<std::string> asked;
    EXPECT_FALSE(ExitWrite::WriteOrReport(path, write, [&](const std::string& text) {
        asked.push_back(text);
        return asked.size() < 3;  // two retries, then Cancel
    }));
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_NE(asked[0].find(path), std::string::npos) << asked[0];
    // The reason is the system's own text, not the success message of a later call.
    EXPECT_EQ(asked[0], ExitWrite::FailureText(path, ERROR_ACCESS_DENIED)) << asked[0];
    EXPECT_FALSE(Exists(path));

    // The user clears the way and retries: the file is written, nobody is asked again.
    asked.clear();
    EXPECT_TRUE(ExitWrite::WriteOrReport(path, write, [&](const std::string& text) {
        asked.push_back(text);
        return ::RemoveDirectoryA(blocker.c_str()) != 0;
    }));
    EXPECT_EQ(asked.size(), 1u);
    std::string content;
    ASSERT_TRUE(AtomicFile::Read(path, content, 100));
    EXPECT_EQ(content, "data");
    EXPECT_FALSE(Exists(blocker));

    // Without anyone to ask (the session is ending) there is exactly one try.
    ASSERT_TRUE(::CreateDirectoryA(blocker.c_str(), nullptr));
    EXPECT_FALSE(ExitWrite::WriteOrReport(path, write, ExitWrite::NoRetry()));
    ::RemoveDirectoryA(blocker.c_str());
    ::DeleteFileA(path.c_str());
    // An error the system has no text for is still named.
    EXPECT_NE(ExitWrite::FailureText(path, 0x2000DEAD).find("System error 536927917."), std::string::npos);
}

}  // namespace
