#include "history/files_out/file_drop_block.h"

namespace FileDropBlock {

namespace {

void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetU32(const std::vector<uint8_t>& in, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | in[at + i];
    return value;
}

}  // namespace

std::vector<uint8_t> Make(const std::vector<std::string>& paths) {
    if (paths.empty()) return {};
    std::vector<uint8_t> block(kHeaderSize, 0);
    PutU32(block, 0, kHeaderSize);  // the drop point, area and character width stay zero
    for (const std::string& path : paths) {
        block.insert(block.end(), path.begin(), path.end());
        block.push_back(0);
    }
    block.push_back(0);
    return block;
}

std::vector<std::string> Read(const std::vector<uint8_t>& block) {
    std::vector<std::string> paths;
    if (block.size() < kHeaderSize) return paths;
    size_t at = GetU32(block, 0);
    const bool wide = GetU32(block, 16) != 0;
    const size_t step = wide ? 2 : 1;
    std::string path;
    for (; at + step <= block.size(); at += step) {
        unsigned value = wide ? block[at] | (block[at + 1] << 8) : block[at];
        if (value != 0) {
            path += static_cast<char>(value);
            continue;
        }
        if (path.empty()) break;  // the empty text that ends the list
        paths.push_back(path);
        path.clear();
    }
    return paths;
}

std::string ExplorerSelectArguments(const std::string& path) { return "/select,\"" + path + "\""; }

}  // namespace FileDropBlock
