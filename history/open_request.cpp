#include "history/open_request.h"

#include <cstring>

namespace OpenRequest {

std::array<char, kSize> Make(const std::string& path) {
    std::array<char, kSize> block{};
    std::memcpy(block.data(), path.data(), path.size() < kSize ? path.size() : kSize - 1);
    return block;
}

bool Read(const void* data, size_t size, std::string& path) {
    if (!data || size == 0) return false;
    // A path longer than the block the list sends is none of ours, whatever the sender's size.
    const void* zero = std::memchr(data, 0, size < kSize ? size : kSize);
    if (!zero) return false;
    path.assign(static_cast<const char*>(data), static_cast<const char*>(zero));
    return true;
}

}  // namespace OpenRequest
