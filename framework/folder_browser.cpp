#include "framework/folder_browser.h"

#include <shlobj.h>

bool BrowseForFolder(HWND owner, const char* title, std::string& path) {
    char displayName[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderA(&info);
    if (!chosen) return false;
    char buffer[MAX_PATH] = "";
    bool ok = ::SHGetPathFromIDListA(chosen, buffer) != FALSE;
    ::CoTaskMemFree(chosen);
    if (ok) path = buffer;
    return ok;
}
