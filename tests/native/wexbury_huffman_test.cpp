#include "wexbury/huffman_table.h"

#include <gtest/gtest.h>

namespace {

using wexbury::HuffmanCodes;
using wexbury::HuffmanTableLayout;

// Checks what a decoder relies on: lengths 1..16, a prefix-free set, and no code of all ones.
void ExpectValidTable(const uint32_t freq[256]) {
    HuffmanTableLayout layout;
    wexbury::BuildOptimalTable(freq, layout);
    HuffmanCodes codes;
    wexbury::BuildCodes(layout, codes);
    int listed = 0;
    double kraft = 0;
    for (int len = 1; len <= 16; ++len) {
        listed += layout.countsByLength[len];
        kraft += layout.countsByLength[len] / double(1 << len);
    }
    EXPECT_EQ(listed, layout.symbolCount);
    EXPECT_LT(kraft, 1.0);  // one code point stays free: the all-ones code
    for (int s = 0; s < 256; ++s) {
        if (freq[s] == 0) continue;
        const int len = codes.length[s];
        ASSERT_GE(len, 1) << "symbol " << s << " has no code";
        ASSERT_LE(len, 16);
        EXPECT_NE(codes.code[s], (1u << len) - 1) << "all-ones code for " << s;
        for (int t = 0; t < 256; ++t) {
            if (t == s || freq[t] == 0 || codes.length[t] < len) continue;
            EXPECT_NE(codes.code[t] >> (codes.length[t] - len), codes.code[s])
                << s << " is a prefix of " << t;
        }
    }
}

TEST(WexburyHuffman, SkewedCountsAreLimitedTo16Bits) {
    // Fibonacci counts make the unlimited tree as deep as it gets.
    uint32_t freq[256] = {};
    uint32_t a = 1, b = 1;
    for (int s = 0; s < 40; ++s) {
        freq[s * 3] = a;
        const uint32_t next = a + b;
        a = b;
        b = next;
    }
    ExpectValidTable(freq);
}

TEST(WexburyHuffman, OneSymbolAndAllSymbolsAndNone) {
    uint32_t one[256] = {};
    one[0x00] = 12345;
    ExpectValidTable(one);
    uint32_t all[256];
    for (int s = 0; s < 256; ++s) all[s] = uint32_t(s * s + 1);
    ExpectValidTable(all);
    uint32_t none[256] = {};
    HuffmanTableLayout layout;
    wexbury::BuildOptimalTable(none, layout);
    EXPECT_GE(layout.symbolCount, 1);  // a table must never be empty
}

TEST(WexburyHuffman, FrequentSymbolsGetShorterCodes) {
    uint32_t freq[256] = {};
    freq[1] = 1000, freq[2] = 100, freq[3] = 10, freq[4] = 1;
    HuffmanTableLayout layout;
    wexbury::BuildOptimalTable(freq, layout);
    HuffmanCodes codes;
    wexbury::BuildCodes(layout, codes);
    EXPECT_LE(codes.length[1], codes.length[2]);
    EXPECT_LE(codes.length[2], codes.length[3]);
    EXPECT_LE(codes.length[3], codes.length[4]);
    EXPECT_EQ(codes.length[1], 1);
}

}  // namespace
