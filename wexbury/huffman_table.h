#pragma once
// Huffman tables fitted to the image: symbol counts from a first pass over the coefficients give
// code lengths (at most 16 bits, no code of all ones), and those give the codes of the second pass.
#include <cstdint>

namespace wexbury {

// What a DHT segment carries: how many codes of each length 1..16, then the symbols by length.
struct HuffmanTableLayout {
    uint8_t countsByLength[17] = {};  // index 0 unused
    uint8_t symbols[256] = {};
    int symbolCount = 0;
};

struct HuffmanCodes {
    uint16_t code[256] = {};
    uint8_t length[256] = {};  // 0 for symbols the table has no code for
};

// Optimal lengths for `frequency` (256 symbols), limited to 16 bits as the standard's Annex K
// shows. A table with no counted symbol still gets one code, so it is always valid.
void BuildOptimalTable(const uint32_t frequency[256], HuffmanTableLayout& layout);

// Canonical codes in the order the table lists the symbols.
void BuildCodes(const HuffmanTableLayout& layout, HuffmanCodes& codes);

}  // namespace wexbury
