#include "app/library_search.h"

#include <windows.h>

namespace LibrarySearch {

void LimitToProgramAndSystemFolders() {
    ::SetDllDirectoryA("");
    // Windows 7 without its 2011 security update lacks this call: look it up rather than import it,
    // so the program still starts there with the current folder removed all the same.
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    auto setDefault = kernel ? reinterpret_cast<SetDefaultDllDirectoriesCall>(
                                   ::GetProcAddress(kernel, "SetDefaultDllDirectories"))
                             : nullptr;
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace LibrarySearch
