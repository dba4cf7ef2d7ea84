#include "imagefile/gif_lzw_coder.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t kCodeLimit = 4096;  // codes are at most 12 bits wide
constexpr size_t kSubBlockSize = 255;

// Every dictionary string is an earlier entry (its prefix) plus one pixel, and no two entries share
// that pair. A table keyed by (prefix code, pixel) therefore finds exactly the longest matches that
// a search over whole strings would find, at the cost of one probe per pixel.
//
// Open addressing with linear probing; a slot holds key << 12 | code in 32 bits. The key is
// prefix << 8 | pixel, and the prefix is at most 4094 (entry 4095 is dropped as soon as it is
// made), so the all-ones empty slot never equals a stored key.
class CodeDictionary {
public:
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;

    CodeDictionary() { Clear(); }

    void Clear() { std::memset(slots_, 0xFF, sizeof slots_); }

    static uint32_t Key(uint32_t prefix, uint32_t pixel) { return prefix << 8 | pixel; }

    // The slot holding `key`, or the empty slot where it belongs.
    uint32_t* Find(uint32_t key) {
        uint32_t slot = Hash(key);
        for (;;) {
            const uint32_t entry = slots_[slot];
            if ((entry >> kCodeBits) == key || entry == kEmpty) return &slots_[slot];
            slot = (slot + 1) & kSlotMask;
        }
    }

    static uint32_t CodeIn(uint32_t entry) { return entry & kCodeMask; }
    static uint32_t Entry(uint32_t key, uint32_t code) { return key << kCodeBits | code; }

private:
    static constexpr unsigned kCodeBits = 12;
    static constexpr uint32_t kCodeMask = (1u << kCodeBits) - 1;
    // 8192 slots for at most 4094 entries keeps the load under one half.
    static constexpr unsigned kSlotBits = 13;
    static constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;

    // Multiplicative hashing spreads the 20-bit keys evenly over the top bits.
    static uint32_t Hash(uint32_t key) { return (key * 0x9E3779B1u) >> (32 - kSlotBits); }

    uint32_t slots_[1u << kSlotBits];
};

// Packs codes least-significant bit first. A 64-bit accumulator leaves whole 32-bit words at a time.
class CodePacker {
public:
    explicit CodePacker(size_t expectedBytes) : bytes_(expectedBytes + kSlack) {}

    void Put(uint32_t code, unsigned width) {
        bits_ |= uint64_t(code) << pending_;
        pending_ += width;
        if (pending_ >= 32) {
            if (size_ + kSlack > bytes_.size()) bytes_.resize(bytes_.size() * 2);
            const uint32_t word = uint32_t(bits_);
            for (int i = 0; i < 4; ++i) bytes_[size_ + i] = uint8_t(word >> (8 * i));
            size_ += 4;
            bits_ >>= 32;
            pending_ -= 32;
        }
    }

    // Flushes the partial last byte and returns the packed stream.
    std::vector<uint8_t> Finish() {
        for (; pending_ > 0; pending_ = pending_ > 8 ? pending_ - 8 : 0, bits_ >>= 8)
            bytes_[size_++] = uint8_t(bits_);
        bytes_.resize(size_);
        return std::move(bytes_);
    }

private:
    static constexpr size_t kSlack = 16;  // room for one word plus the final flush
    std::vector<uint8_t> bytes_;
    size_t size_ = 0;
    uint64_t bits_ = 0;
    unsigned pending_ = 0;  // bits in the accumulator, always below 32 between calls
};

// The running state of the code width: it grows by one bit once the newest entry reaches 2^width.
class CodeWidth {
public:
    explicit CodeWidth(unsigned startBits) : start_(startBits) { Reset(); }

    void Reset() {
        bits_ = start_;
        limit_ = 1u << start_;
    }
    // `newest` is the highest entry made so far.
    void GrowFor(uint32_t newest) {
        if (newest >= limit_) {
            ++bits_;
            limit_ <<= 1;
        }
    }
    unsigned Bits() const { return bits_; }

private:
    unsigned start_, bits_ = 0;
    uint32_t limit_ = 0;
};

std::vector<uint8_t> PackLzwCodes(const uint8_t* pixels, size_t count, int rootBits) {
    const uint32_t clearCode = 1u << rootBits, endCode = clearCode + 1, firstFree = clearCode + 2;
    auto dictionary = std::make_unique<CodeDictionary>();
    CodePacker packer(count / 4);
    CodeWidth width(unsigned(rootBits) + 1);
    uint32_t next = firstFree;  // the entry the next unmatched pixel makes

    packer.Put(clearCode, width.Bits());
    if (count > 0) {
        uint32_t current = pixels[0];  // the code of the longest match so far
        for (size_t i = 1; i < count; ++i) {
            const uint32_t pixel = pixels[i];
            const uint32_t key = CodeDictionary::Key(current, pixel);
            uint32_t* slot = dictionary->Find(key);
            if (*slot != CodeDictionary::kEmpty) {
                current = CodeDictionary::CodeIn(*slot);
                continue;
            }
            width.GrowFor(next - 1);
            packer.Put(current, width.Bits());
            *slot = CodeDictionary::Entry(key, next);
            if (++next == kCodeLimit) {
                // Entry 4095 exists: start over before any code would need 13 bits.
                packer.Put(clearCode, width.Bits());
                dictionary->Clear();
                next = firstFree;
                width.Reset();
            }
            current = pixel;
        }
        // The last match, then the end code at the width a decoder reaches after reading it: the
        // decoder counts one more entry for the last code, so the end code may need one bit more.
        width.GrowFor(next - 1);
        packer.Put(current, width.Bits());
        width.GrowFor(next);
    }
    packer.Put(endCode, width.Bits());
    return packer.Finish();
}

}  // namespace

void AppendGifImageData(const uint8_t* indices, size_t count, int rootBits, std::vector<uint8_t>& out) {
    const std::vector<uint8_t> packed = PackLzwCodes(indices, count, rootBits);
    out.reserve(out.size() + 1 + packed.size() + packed.size() / kSubBlockSize + 2);
    out.push_back(uint8_t(rootBits));
    for (size_t at = 0; at < packed.size(); at += kSubBlockSize) {
        const size_t length = std::min(kSubBlockSize, packed.size() - at);
        out.push_back(uint8_t(length));
        out.insert(out.end(), packed.begin() + at, packed.begin() + at + length);
    }
    out.push_back(0);  // block terminator
}
