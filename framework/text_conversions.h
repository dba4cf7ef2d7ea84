#pragma once
// Conversions of dialog field text, shared by the dialog data exchange (platform-free).
#include <string>

namespace TextConversions {

// Reads a whole field as a decimal integer: optional blanks, an optional sign, digits, optional
// blanks. Anything else, an empty field, or a value outside the 32-bit range is not an integer.
bool ParseInt(const std::string& text, int& value);

}  // namespace TextConversions
