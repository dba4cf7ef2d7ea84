#pragma once
// The two things an entropy pass can do with the symbols of a scan: count them (first pass, to fit
// the Huffman tables) or write their codes (second pass). The scan encoders are templates over
// these, so both passes walk the coefficients with the very same logic.
#include <bit>
#include <cstdint>
#include <cstring>

#include "wexbury/bit_writer.h"
#include "wexbury/huffman_table.h"

namespace wexbury {

// Huffman table slots: DC tables 0 and 1, AC tables 0 and 1 (luma, chroma).
constexpr int kTableSlots = 4;
inline int DcSlot(int table) { return table; }
inline int AcSlot(int table) { return 2 + table; }

class SymbolCounter {
public:
    SymbolCounter() { std::memset(frequency_, 0, sizeof frequency_); }
    bool Reserve() { return true; }
    void Symbol(int slot, int symbol) { ++frequency_[slot][symbol]; }
    void SymbolWithBits(int slot, int symbol, uint32_t, int) { ++frequency_[slot][symbol]; }
    void Bits(uint32_t, int) {}

    const uint32_t* Frequency(int slot) const { return frequency_[slot]; }
    bool Used(int slot) const {
        for (uint32_t f : frequency_[slot])
            if (f) return true;
        return false;
    }

private:
    uint32_t frequency_[kTableSlots][256];
};

class SymbolEmitter {
public:
    SymbolEmitter(BitWriter& writer, const HuffmanCodes* codes) : writer_(writer), codes_(codes) {}
    bool Reserve() { return writer_.Reserve(); }
    void Symbol(int slot, int symbol) {
        writer_.Put(codes_[slot].code[symbol], codes_[slot].length[symbol]);
    }
    // A symbol and the extra bits that follow it, in one write (at most 16 + 14 bits).
    void SymbolWithBits(int slot, int symbol, uint32_t bits, int n) {
        writer_.Put(uint32_t(codes_[slot].code[symbol]) << n | bits,
                    codes_[slot].length[symbol] + n);
    }
    void Bits(uint32_t bits, int n) { writer_.Put(bits, n); }

private:
    BitWriter& writer_;
    const HuffmanCodes* codes_;  // kTableSlots of them
};

// Magnitude category of a value and its extra bits: negatives are sent as value - 1, trimmed to
// the category's width (the one's complement of the magnitude).
struct CodedValue {
    int category;
    uint32_t bits;
};
inline CodedValue CodeValue(int value) {
    const unsigned magnitude = unsigned(value < 0 ? -value : value);
    const int category = std::bit_width(magnitude);
    const uint32_t raw = uint32_t(value < 0 ? value - 1 : value);
    return {category, raw & ((1u << category) - 1)};
}

}  // namespace wexbury
