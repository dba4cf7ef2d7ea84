#include "app/atomic_file.h"

#include <windows.h>

namespace AtomicFile {

bool Replace(const std::string& path, const void* data, size_t size) {
    std::string temporary = path + ".new";
    HANDLE file = ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) != 0;
    if (ok && written != size) {
        ok = false;
        ::SetLastError(ERROR_DISK_FULL);  // a short write says nothing of its own
    }
    ok = ::FlushFileBuffers(file) && ok;
    ok = ::CloseHandle(file) && ok;
    if (ok)
        ok = ::MoveFileExA(temporary.c_str(), path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) {
        // The caller may tell the user why: the clean-up must not overwrite the reason.
        const DWORD error = ::GetLastError();
        ::DeleteFileA(temporary.c_str());
        ::SetLastError(error);
    }
    return ok;
}

bool Read(const std::string& path, std::string& out, size_t limit) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    out.assign(limit, '\0');
    DWORD got = 0, total = 0;
    bool ok = true;
    while (total < limit) {
        if (!::ReadFile(file, &out[total], static_cast<DWORD>(limit - total), &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        total += got;
    }
    ::CloseHandle(file);
    out.resize(total);
    return ok;
}

}  // namespace AtomicFile
