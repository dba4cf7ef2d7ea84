#include "history/multi_selection.h"

#include <cstring>

namespace MultiSelection {

namespace {

// A name the dialog returned with its own folder (typed as a full path).
bool IsFullPath(const std::string& name) {
    return (name.size() >= 2 && name[1] == ':') || (!name.empty() && (name[0] == '\\' || name[0] == '/'));
}

}  // namespace

std::vector<std::string> Parse(const char* buffer, size_t size) {
    std::vector<std::string> texts;
    size_t at = 0;
    while (buffer && at < size && buffer[at] != '\0') {
        const void* zero = std::memchr(buffer + at, 0, size - at);
        const size_t end = zero ? static_cast<size_t>(static_cast<const char*>(zero) - buffer) : size;
        texts.emplace_back(buffer + at, end - at);
        at = end + 1;
    }
    if (texts.size() <= 1) return texts;

    const std::string& folder = texts.front();
    const bool endsWithSeparator = folder.back() == '\\' || folder.back() == '/';
    std::vector<std::string> paths;
    for (size_t i = 1; i < texts.size(); ++i)
        paths.push_back(IsFullPath(texts[i]) ? texts[i] : folder + (endsWithSeparator ? "" : "\\") + texts[i]);
    return paths;
}

std::string LinkName(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace MultiSelection
