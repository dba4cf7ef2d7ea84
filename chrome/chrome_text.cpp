#include "chrome/chrome_text.h"

#include <cstring>

namespace chrome_text {

std::string HelpFilePath(const std::string& modulePath) {
    const std::size_t slash = modulePath.find_last_of('\\');
    const std::string folder = slash == std::string::npos ? std::string() : modulePath.substr(0, slash);
    return folder + "\\Help.chm";
}

std::string HelpMissingMessage(const std::string& helpPath) {
    return "Can't find help files:" + helpPath;
}

std::string LinkFailureMessage(const std::string& target) {
    return "Unable to open " + target + ".";
}

bool CopyBounded(char* buffer, std::size_t capacity, const std::string& text) {
    if (capacity == 0) return text.empty();
    const std::size_t length = text.size() < capacity ? text.size() : capacity - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return length == text.size();
}

}  // namespace chrome_text
