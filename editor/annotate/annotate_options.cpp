#include "editor/annotate/annotate_options.h"

namespace {

constexpr char kTag[4] = {'T', 'A', 'N', 'N'};
constexpr size_t kSize = 12;

void PutWord(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint32_t WordAt(const std::string& data, size_t at) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<unsigned char>(data[at + i])) << (8 * i);
    return value;
}

}  // namespace

std::string AnnotateOptions::Encode() const {
    std::string out(kTag, 4);
    PutWord(out, colour & 0xFFFFFF);
    PutWord(out, static_cast<uint32_t>(width));
    return out;
}

bool AnnotateOptions::Decode(const std::string& data, AnnotateOptions& out) {
    out = AnnotateOptions{};
    if (data.size() != kSize || data.compare(0, 4, kTag, 4) != 0) return false;
    const uint32_t colour = WordAt(data, 4);
    const uint32_t width = WordAt(data, 8);
    if (colour > 0xFFFFFF || !ValidWidth(static_cast<int>(width))) return false;
    out.colour = colour;
    out.width = static_cast<int>(width);
    return true;
}
