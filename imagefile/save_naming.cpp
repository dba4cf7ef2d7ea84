#include "imagefile/save_naming.h"

#include <cstdio>

namespace SaveNaming {

const char* ExtensionOf(int format) {
    switch (format) {
    case kBmp: return ".bmp";
    case kJpeg: return ".jpg";
    case kGif: return ".gif";
    case kPng: return ".png";
    default: return "";
    }
}

std::string NumberText(int number) {
    char text[24];
    const char* pattern = number < 10 ? "00%d" : number < 100 ? "0%d" : "%d";
    std::snprintf(text, sizeof text, pattern, number);
    return text;
}

AutoName MakeAutoSaveName(const std::string& folder, const std::string& baseName, int number) {
    std::string entry = baseName + NumberText(number);
    return {folder + entry, entry};
}

int NextNumber(int number) { return number == 2147483647 ? 1 : number + 1; }

FreeAutoName FirstFreeAutoSaveName(const std::string& folder, const std::string& baseName,
                                   const std::string& extension, int number,
                                   const std::function<bool(const std::string& path)>& exists, int maxTries) {
    FreeAutoName result;
    for (int tries = 0; tries < maxTries; ++tries, number = NextNumber(number)) {
        result.name = MakeAutoSaveName(folder, baseName, number);
        result.number = number;
        if (!exists(result.name.path + extension)) {
            result.found = true;
            break;
        }
    }
    // Found: the number after it; not found: the first number not tried.
    result.nextNumber = result.found ? NextNumber(result.number) : number;
    return result;
}

namespace {
size_t NameStart(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? 0 : slash + 1;
}
}  // namespace

std::string TitleOf(const std::string& path) {
    std::string name = path.substr(NameStart(path));
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool HasExtension(const std::string& path) {
    return path.find('.', NameStart(path)) != std::string::npos;
}

std::vector<std::string> FoldersToCreate(const std::string& folder) {
    std::vector<std::string> result;
    std::string path = folder;
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    size_t from = 0;
    if (path.size() >= 2 && path[1] == ':') {
        from = 3;  // "c:\"
    } else if (path.rfind("\\\\", 0) == 0) {
        // \\server\share is the root of a network path.
        size_t server = path.find('\\', 2);
        size_t share = server == std::string::npos ? std::string::npos : path.find('\\', server + 1);
        if (share == std::string::npos) return result;
        from = share + 1;
    }
    for (size_t i = from; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\' || path[i] == '/') {
            if (i > from || (i == path.size() && i > 0)) result.push_back(path.substr(0, i));
        }
    }
    return result;
}

}  // namespace SaveNaming
