#pragma once
// The request the history list sends the view to open a row's file (platform-free): a 260-byte
// block holding the path and a zero byte. The view may receive such data from any program, so
// reading it trusts nothing but the byte count that came with it.
#include <array>
#include <cstddef>
#include <string>

namespace OpenRequest {

constexpr size_t kSize = 260;

// The block for `path`: at most 259 characters, then zeros.
std::array<char, kSize> Make(const std::string& path);

// The path in `size` bytes at `data`: the text before the first zero byte. False (nothing to
// open) when there is no data or no zero byte within it, or within its first kSize bytes.
bool Read(const void* data, size_t size, std::string& path);

}  // namespace OpenRequest
