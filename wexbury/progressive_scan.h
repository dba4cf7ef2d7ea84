#pragma once
// Progressive coding of one scan, block by block: the DC scan, and AC first and refinement scans
// with end-of-band runs across blocks and the refinement's correction bits. The rules are those
// of the standard's Annex G. (The DC is never split into refinements: see scan_script.cpp.)
#include <bit>
#include <cstdint>

#include "wexbury/coefficient_block.h"
#include "wexbury/entropy_sink.h"

namespace wexbury {

// Bits of positions first..last of a block's non-zero set.
inline uint64_t BandMask(int first, int last) {
    const uint64_t upTo = last == 63 ? ~uint64_t(0) : (uint64_t(1) << (last + 1)) - 1;
    return upTo & ~((uint64_t(1) << first) - 1);
}

template <class Out>
inline void EncodeDcFirst(const BlockView& block, int& lastDc, int slot, int al, Out& out) {
    const int value = block.Dc() >> al;  // arithmetic shift: the point transform of the standard
    const CodedValue dc = CodeValue(value - lastDc);
    lastDc = value;
    out.SymbolWithBits(slot, dc.category, dc.bits, dc.category);
}

// One AC scan over a band of one component. End-of-band runs carry from block to block, so the
// encoder lives for the whole scan; Finish() flushes what is still pending.
template <class Out>
class AcScanEncoder {
public:
    AcScanEncoder(Out& out, int slot, int first, int last, int al)
        : out_(out), slot_(slot), first_(first), last_(last), al_(al),
          band_(BandMask(first, last)) {}

    void EncodeFirst(const BlockView& block) {
        const int16_t* value = FirstInBand(block);
        uint64_t pending = block.nonzero & band_;
        int previous = first_ - 1;
        while (pending) {
            const int k = std::countr_zero(pending);
            pending &= pending - 1;
            const int c = *value++;
            const unsigned magnitude = unsigned(c < 0 ? -c : c) >> al_;
            if (magnitude == 0) continue;  // vanishes under the point transform
            const int category = std::bit_width(magnitude);
            // Negative values go out as the one's complement of the shifted magnitude.
            const uint32_t bits = (c < 0 ? ~magnitude : magnitude) & ((1u << category) - 1);
            FlushEndOfBands();
            int run = k - previous - 1;
            while (run > 15) {
                out_.Symbol(slot_, 0xF0);
                run -= 16;
            }
            out_.SymbolWithBits(slot_, run << 4 | category, bits, category);
            previous = k;
        }
        if (previous < last_) CountEndOfBand();
    }

    void EncodeRefine(const BlockView& block) {
        const uint64_t inBand = block.nonzero & band_;
        const int16_t* const values = FirstInBand(block);
        // The last coefficient that becomes non-zero in this scan: zero runs before it must be
        // sent as ZRLs, those after it fold into the end-of-band.
        int lastNew = -1;
        const int16_t* value = values;
        for (uint64_t p = inBand; p; p &= p - 1)
            if (Magnitude(*value++) == 1) lastNew = std::countr_zero(p);

        // This block's correction bits go after those still waiting for the current EOB run.
        int blockStart = correctionCount_;
        int blockBits = 0;
        int run = 0;
        int previous = first_ - 1;  // last position with a non-zero shifted magnitude
        value = values;
        for (uint64_t p = inBand; p;) {
            const int k = std::countr_zero(p);
            p &= p - 1;
            const int c = *value++;
            const unsigned magnitude = Magnitude(c);
            if (magnitude == 0) continue;
            run += k - previous - 1;
            previous = k;
            while (run > 15 && k <= lastNew) {
                FlushEndOfBands();
                out_.Symbol(slot_, 0xF0);
                run -= 16;
                EmitCorrections(blockStart, blockBits);
                blockStart = 0;
                blockBits = 0;
            }
            if (magnitude > 1) {
                // Non-zero since an earlier scan: its next bit, sent after the next symbol.
                correction_[blockStart + blockBits++] = uint8_t(magnitude & 1);
                continue;
            }
            FlushEndOfBands();
            out_.SymbolWithBits(slot_, run << 4 | 1, c < 0 ? 0 : 1, 1);
            EmitCorrections(blockStart, blockBits);
            blockStart = 0;
            blockBits = 0;
            run = 0;
        }
        run += last_ - previous;
        if (run > 0 || blockBits > 0) {
            correctionCount_ = blockStart + blockBits;
            CountEndOfBand();
            // Keep room for one more block's worth of correction bits.
            if (correctionCount_ > kMaxCorrectionBits - 63) FlushEndOfBands();
        }
    }

    void Finish() { FlushEndOfBands(); }

private:
    static constexpr int kMaxCorrectionBits = 1000;
    static constexpr uint32_t kMaxEndOfBandRun = 0x7FFF;

    unsigned Magnitude(int c) const { return unsigned(c < 0 ? -c : c) >> al_; }
    // The stored value of the first non-zero coefficient at or after the band's start.
    const int16_t* FirstInBand(const BlockView& block) const {
        return block.values + std::popcount(block.nonzero & ((uint64_t(1) << first_) - 1));
    }
    void CountEndOfBand() {
        if (++endOfBandRun_ == kMaxEndOfBandRun) FlushEndOfBands();
    }
    void FlushEndOfBands() {
        if (endOfBandRun_ == 0) return;
        const int extra = std::bit_width(endOfBandRun_) - 1;
        out_.SymbolWithBits(slot_, extra << 4, endOfBandRun_ & ((1u << extra) - 1), extra);
        endOfBandRun_ = 0;
        EmitCorrections(0, correctionCount_);
        correctionCount_ = 0;
    }
    void EmitCorrections(int start, int count) {
        for (int i = 0; i < count; ++i) out_.Bits(correction_[start + i], 1);
    }

    Out& out_;
    const int slot_, first_, last_, al_;
    const uint64_t band_;
    uint32_t endOfBandRun_ = 0;
    uint8_t correction_[kMaxCorrectionBits + 64];
    int correctionCount_ = 0;
};

}  // namespace wexbury
