#include "wexbury/huffman_table.h"

namespace wexbury {

void BuildOptimalTable(const uint32_t frequency[256], HuffmanTableLayout& layout) {
    constexpr int kSymbols = 257;  // 256 real ones plus one reserved, see below
    constexpr int kMaxLength = kSymbols;  // no tree of 257 leaves is deeper
    uint64_t freq[kSymbols];
    int codeSize[kSymbols] = {};
    int others[kSymbols];
    bool any = false;
    for (int i = 0; i < 256; ++i) {
        freq[i] = frequency[i];
        any = any || frequency[i] != 0;
        others[i] = -1;
    }
    if (!any) freq[0] = 1;
    // The reserved symbol takes the all-ones code of the longest length, so no real symbol gets
    // a code of only one-bits.
    freq[256] = 1;
    others[256] = -1;

    // Only symbols that occur take part; a typical table has a few dozen.
    int active[kSymbols];
    int activeCount = 0;
    for (int i = 0; i < kSymbols; ++i)
        if (freq[i]) active[activeCount++] = i;

    // Merge the two least frequent trees until one is left (ties go to the higher symbol, so the
    // lengths match what other encoders choose for the same counts).
    for (;;) {
        int c1 = -1, c2 = -1;
        uint64_t v = UINT64_MAX;
        for (int a = 0; a < activeCount; ++a) {
            const int i = active[a];
            if (freq[i] && freq[i] <= v) v = freq[i], c1 = i;
        }
        v = UINT64_MAX;
        for (int a = 0; a < activeCount; ++a) {
            const int i = active[a];
            if (freq[i] && freq[i] <= v && i != c1) v = freq[i], c2 = i;
        }
        if (c2 < 0) break;

        freq[c1] += freq[c2];
        freq[c2] = 0;
        ++codeSize[c1];
        while (others[c1] >= 0) {
            c1 = others[c1];
            ++codeSize[c1];
        }
        others[c1] = c2;
        ++codeSize[c2];
        while (others[c2] >= 0) {
            c2 = others[c2];
            ++codeSize[c2];
        }
    }

    int bits[kMaxLength + 1] = {};
    for (int i = 0; i < kSymbols; ++i)
        if (codeSize[i]) ++bits[codeSize[i]];

    // Shorten codes longer than 16 bits: take a pair from the longest length, move one of them up
    // a level and make the other the sibling of a shorter code split in two.
    for (int i = kMaxLength; i > 16; --i) {
        while (bits[i] > 0) {
            int j = i - 2;
            while (bits[j] == 0) --j;
            bits[i] -= 2;
            bits[i - 1] += 1;
            bits[j + 1] += 2;
            bits[j] -= 1;
        }
    }
    // Drop the reserved symbol: it holds one of the longest codes.
    int longest = 16;
    while (bits[longest] == 0) --longest;
    --bits[longest];

    layout = HuffmanTableLayout{};
    for (int len = 1; len <= 16; ++len) layout.countsByLength[len] = uint8_t(bits[len]);
    // Symbols by increasing code length, then by value.
    int n = 0;
    for (int len = 1; len <= kMaxLength; ++len)
        for (int s = 0; s < 256; ++s)
            if (codeSize[s] == len) layout.symbols[n++] = uint8_t(s);
    layout.symbolCount = n;
}

void BuildCodes(const HuffmanTableLayout& layout, HuffmanCodes& codes) {
    codes = HuffmanCodes{};
    unsigned code = 0;
    int k = 0;
    for (int len = 1; len <= 16; ++len) {
        for (int i = 0; i < layout.countsByLength[len]; ++i, ++k) {
            codes.code[layout.symbols[k]] = uint16_t(code++);
            codes.length[layout.symbols[k]] = uint8_t(len);
        }
        code <<= 1;
    }
}

}  // namespace wexbury
