#include "imagefile/gif_lzw_coder.h"

#include <algorithm>
#include <bit>
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
    // 16384 slots for at most 4094 entries keep the load under a quarter, so that a probe rarely
    // needs a second slot; 64 KB still sit in the second-level cache.
    static constexpr unsigned kSlotBits = 14;
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

// The codes of the one-colour strings p, pp, ppp, ... of every pixel value p. Such a string is only
// ever made by extending the one a pixel shorter, so those present are always p^1 up to some
// longest p^m. A run of equal pixels can then be matched by counting them, instead of one dictionary
// lookup per pixel: on screenshots, most pixels continue a run of the colour before them.
class RunCodes {
public:
    // A list for every byte value, so that a stray index can never reach past the lists.
    RunCodes() : longer_(256) {}

    // Back to the one-pixel strings only (the lists keep their memory for the next round).
    void Reset() {
        for (std::vector<uint16_t>& codes : longer_) codes.clear();
    }
    size_t Longest(uint32_t pixel) const { return longer_[pixel].size() + 1; }
    uint32_t Code(uint32_t pixel, size_t length) const {
        return length == 1 ? pixel : longer_[pixel][length - 2];
    }
    // Records `code` as the run one pixel longer than Longest(pixel).
    void Extend(uint32_t pixel, uint32_t code) { longer_[pixel].push_back(uint16_t(code)); }

private:
    std::vector<std::vector<uint16_t>> longer_;  // per pixel, the codes of p^2, p^3, ...
};

// How many of the first `limit` bytes at `at` equal `value`; eight at a time on little-endian hosts.
size_t CountEqual(const uint8_t* at, size_t limit, uint8_t value) {
    size_t count = 0;
    if constexpr (std::endian::native == std::endian::little) {
        const uint64_t pattern = 0x0101010101010101ull * value;
        for (; count + 8 <= limit; count += 8) {
            uint64_t word;
            std::memcpy(&word, at + count, 8);
            if (word != pattern) return count + size_t(std::countr_zero(word ^ pattern)) / 8;
        }
    }
    while (count < limit && at[count] == value) ++count;
    return count;
}

// Greedy longest-match LZW over the pixel indices. The current string is known either as a run of
// one colour (matched through RunCodes) or as a mixed string (matched through CodeDictionary); every
// dictionary entry lives in exactly one of the two, so each lookup finds what a search over all
// entries would.
class LzwCoder {
public:
    LzwCoder(int rootBits, size_t pixelCount)
        : clearCode_(1u << rootBits),
          firstFree_(clearCode_ + 2),
          packer_(pixelCount / 4),
          width_(unsigned(rootBits) + 1),
          next_(firstFree_) {}

    std::vector<uint8_t> Encode(const uint8_t* pixels, size_t count) {
        packer_.Put(clearCode_, width_.Bits());
        if (count > 0) EncodePixels(pixels, count);
        packer_.Put(clearCode_ + 1, width_.Bits());  // end code
        return packer_.Finish();
    }

private:
    void EncodePixels(const uint8_t* pixels, size_t count) {
        uint32_t current = pixels[0];  // the code of the longest match so far
        uint32_t runPixel = pixels[0];
        size_t runLength = 1;  // the current string is runPixel repeated this often; 0: mixed
        size_t i = 1;
        while (i < count) {
            // A run goes on only if the next pixel repeats it; on photos it mostly does not, and
            // that one comparison spares the run bookkeeping.
            if (runLength > 0 && pixels[i] == runPixel) {
                // Take as much of the run as the dictionary knows; one pixel more is a miss.
                const size_t known = runs_.Longest(runPixel) - runLength;
                const size_t equal = CountEqual(pixels + i, std::min(count - i, known + 1), uint8_t(runPixel));
                const size_t matched = std::min(equal, known);
                if (matched > 0) {
                    runLength += matched;
                    i += matched;
                    current = runs_.Code(runPixel, runLength);
                }
                if (equal > known) {
                    runs_.Extend(runPixel, EmitMatch(current));
                    EntryMade();
                    current = runPixel;
                    runLength = 1;
                    ++i;
                    continue;
                }
                if (i == count) break;
            }
            // Here the pixel differs from the run, or the current string is mixed already: follow
            // the dictionary until a pixel extends the match to a string it does not know.
            uint32_t pixel = pixels[i++];
            uint32_t key = CodeDictionary::Key(current, pixel);
            uint32_t* slot = dictionary_->Find(key);
            while (*slot != CodeDictionary::kEmpty) {
                current = CodeDictionary::CodeIn(*slot);
                runLength = 0;
                if (i == count) break;
                pixel = pixels[i++];
                key = CodeDictionary::Key(current, pixel);
                slot = dictionary_->Find(key);
            }
            if (*slot != CodeDictionary::kEmpty) break;  // the image ended inside a known string
            *slot = CodeDictionary::Entry(key, EmitMatch(current));
            EntryMade();
            current = runPixel = pixel;
            runLength = 1;
        }
        // The last match, then the end code at the width a decoder reaches after reading it: the
        // decoder counts one more entry for the last code, so the end code may need one bit more.
        width_.GrowFor(next_ - 1);
        packer_.Put(current, width_.Bits());
        width_.GrowFor(next_);
    }

    // Emits the code of the longest match and returns the entry its extension by one pixel becomes.
    uint32_t EmitMatch(uint32_t code) {
        width_.GrowFor(next_ - 1);
        packer_.Put(code, width_.Bits());
        return next_;
    }

    void EntryMade() {
        if (++next_ < kCodeLimit) return;
        // Entry 4095 exists: start over before any code would need 13 bits.
        packer_.Put(clearCode_, width_.Bits());
        dictionary_->Clear();
        runs_.Reset();
        next_ = firstFree_;
        width_.Reset();
    }

    const uint32_t clearCode_, firstFree_;
    std::unique_ptr<CodeDictionary> dictionary_ = std::make_unique<CodeDictionary>();
    RunCodes runs_;
    CodePacker packer_;
    CodeWidth width_;
    uint32_t next_;  // the entry the next unmatched pixel makes
};

}  // namespace

void AppendGifImageData(const uint8_t* indices, size_t count, int rootBits, std::vector<uint8_t>& out) {
    const std::vector<uint8_t> packed = LzwCoder(rootBits, count).Encode(indices, count);
    out.reserve(out.size() + 1 + packed.size() + packed.size() / kSubBlockSize + 2);
    out.push_back(uint8_t(rootBits));
    for (size_t at = 0; at < packed.size(); at += kSubBlockSize) {
        const size_t length = std::min(kSubBlockSize, packed.size() - at);
        out.push_back(uint8_t(length));
        out.insert(out.end(), packed.begin() + at, packed.begin() + at + length);
    }
    out.push_back(0);  // block terminator
}
