#include "imagefile/replacing_save.h"

#include <windows.h>

TemporaryFile::TemporaryFile(const std::string& folder, const char* prefix) {
    char name[MAX_PATH] = "";
    // GetTempFileName creates the file, so a name it returns is ours alone.
    if (folder.size() < MAX_PATH - 14 && ::GetTempFileNameA(folder.empty() ? "." : folder.c_str(), prefix, 0, name))
        path = name;
}

TemporaryFile::~TemporaryFile() {
    if (!path.empty()) ::DeleteFileA(path.c_str());
}

ReplacingSave::ReplacingSave(const std::string& target) : target(target), temporary(FolderOf(target), "tsc") {}

bool ReplacingSave::Commit() {
    if (!Ready()) return false;
    HANDLE file = ::CreateFileA(TemporaryPath().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool complete = ::GetFileSizeEx(file, &size) && size.QuadPart > 0;
    complete = ::FlushFileBuffers(file) && complete;
    ::CloseHandle(file);
    if (!complete) return false;
    if (!::MoveFileExA(TemporaryPath().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return false;
    temporary.Forget();
    return true;
}

bool WriteFileBytes(const std::string& path, const void* data, size_t size) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    return ::CloseHandle(file) && ok;
}

std::string FolderOf(const std::string& path) {
    size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}
