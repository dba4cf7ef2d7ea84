#include "history/files_out/shell_files.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "history/files_out/file_drop_block.h"

namespace ShellFiles {

namespace {

HGLOBAL GlobalCopy(const void* data, size_t size) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) return nullptr;
    void* at = ::GlobalLock(block);
    if (!at) {
        ::GlobalFree(block);
        return nullptr;
    }
    std::memcpy(at, data, size);
    ::GlobalUnlock(block);
    return block;
}

}  // namespace

std::vector<std::string> Existing(const std::vector<std::string>& paths) {
    std::vector<std::string> there;
    for (const std::string& path : paths) {
        DWORD attributes = ::GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) there.push_back(path);
    }
    return there;
}

HGLOBAL MakeDropHandle(const std::vector<std::string>& paths) {
    std::vector<uint8_t> block = FileDropBlock::Make(paths);
    return block.empty() ? nullptr : GlobalCopy(block.data(), block.size());
}

bool CopyToClipboard(HWND owner, const std::vector<std::string>& paths) {
    HGLOBAL files = MakeDropHandle(paths);
    if (!files) return false;
    const DWORD copy = DROPEFFECT_COPY;
    HGLOBAL effect = GlobalCopy(&copy, sizeof copy);
    if (!::OpenClipboard(owner)) {
        ::GlobalFree(files);
        if (effect) ::GlobalFree(effect);
        return false;
    }
    ::EmptyClipboard();
    // From a successful SetClipboardData on, the clipboard owns the block.
    bool ok = ::SetClipboardData(CF_HDROP, files) != nullptr;
    if (!ok) ::GlobalFree(files);
    UINT effectFormat = ::RegisterClipboardFormatA(CFSTR_PREFERREDDROPEFFECT);
    if (effect && !(effectFormat && ::SetClipboardData(effectFormat, effect))) ::GlobalFree(effect);
    ::CloseClipboard();
    return ok;
}

bool OpenContainingFolder(const std::string& path) {
    std::string arguments = FileDropBlock::ExplorerSelectArguments(path);
    HINSTANCE started = ::ShellExecuteA(nullptr, "open", "explorer.exe", arguments.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(started) > 32;
}

}  // namespace ShellFiles
