#include "framework/text_conversions.h"

#include <cctype>
#include <cstdint>

namespace TextConversions {

bool ParseInt(const std::string& text, int& value) {
    size_t i = 0, n = text.size();
    auto blank = [&](size_t k) { return k < n && (text[k] == ' ' || text[k] == '\t'); };
    while (blank(i)) ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    size_t firstDigit = i;
    int64_t magnitude = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
        magnitude = magnitude * 10 + (text[i++] - '0');
        if (magnitude > int64_t(INT32_MAX) + 1) return false;
    }
    if (i == firstDigit) return false;
    while (blank(i)) ++i;
    if (i != n) return false;
    int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX || result < INT32_MIN) return false;
    value = static_cast<int>(result);
    return true;
}

}  // namespace TextConversions
