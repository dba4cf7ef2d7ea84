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
// Where a string is looked for first depends on where its prefix was found (its place), not on the
// prefix's code. Following a known string, the next slot is then computed from the slot just read
// without waiting for its contents, so the processor fetches the slots of a whole string at once;
// on photos, where strings are short and nearly every one ends in a miss, waiting on each lookup in
// turn was most of the time. A string that is not in the table (one pixel, or a run, see RunCodes)
// has a place spread from its code.
//
// Open addressing with linear probing; a slot holds key << 12 | code in 32 bits. The key is
// prefix << 8 | pixel, and the prefix is at most 4094 (entry 4095 is dropped as soon as it is
// made), so the all-ones empty slot never equals a stored key.
class CodeDictionary {
public:
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;

    CodeDictionary() {
        Clear();
        for (uint32_t pixel = 0; pixel < 256; ++pixel) pixelSpread_[pixel] = uint16_t(Spread(pixel + 1));
    }

    void Clear() { std::memset(slots_, 0xFF, sizeof slots_); }

    static uint32_t Key(uint32_t prefix, uint32_t pixel) { return prefix << 8 | pixel; }
    static uint32_t PlaceOfCode(uint32_t code) { return Spread(code); }

    // The first slot to look at for the string at `prefixPlace` extended by `pixel`. The rotation
    // makes the order of the pixels count, so that "ab" and "ba" after the same prefix part ways.
    uint32_t Home(uint32_t prefixPlace, uint32_t pixel) const {
        const uint32_t rotated = (prefixPlace << kTurn | prefixPlace >> (kSlotBits - kTurn)) & kSlotMask;
        return rotated ^ pixelSpread_[pixel];
    }

    // The slot from `slot` on that holds `key`, or the empty slot where it belongs.
    uint32_t Probe(uint32_t slot, uint32_t key) const {
        for (;;) {
            const uint32_t entry = slots_[slot];
            if (Holds(entry, key) || entry == kEmpty) return slot;
            slot = (slot + 1) & kSlotMask;
        }
    }

    uint32_t At(uint32_t slot) const { return slots_[slot]; }
    void Store(uint32_t slot, uint32_t key, uint32_t code) { slots_[slot] = key << kCodeBits | code; }

    static bool Holds(uint32_t entry, uint32_t key) { return (entry >> kCodeBits) == key; }
    static uint32_t CodeIn(uint32_t entry) { return entry & kCodeMask; }

private:
    static constexpr unsigned kCodeBits = 12;
    static constexpr uint32_t kCodeMask = (1u << kCodeBits) - 1;
    // 16384 slots for at most 4094 entries keep the load under a quarter, so that a probe rarely
    // needs a second slot; 64 KB still sit in the second-level cache.
    static constexpr unsigned kSlotBits = 14;
    static constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;
    static constexpr unsigned kTurn = 3;

    // Multiplicative hashing spreads small numbers evenly over the top bits.
    static uint32_t Spread(uint32_t value) { return (value * 0x9E3779B1u) >> (32 - kSlotBits); }

    uint32_t slots_[1u << kSlotBits];
    uint16_t pixelSpread_[256];
};

// The codes and places of the one-colour strings p, pp, ppp, ... of every pixel value p. Such a
// string is only ever made by extending the one a pixel shorter, so those present are always p^1 up
// to some longest p^m. A long run of equal pixels can then be matched by counting them, instead of
// one dictionary lookup per pixel: on screenshots, most pixels lie in such runs.
//
// The lists hold what the dictionary holds too; runs that were made one lookup at a time join the
// list of their colour when it is next needed (CatchUp in the coder).
class RunCodes {
public:
    // A list for every byte value, so that a stray index can never reach past the lists.
    RunCodes() : longer_(256) {}

    // Back to the one-pixel strings only (the lists keep their memory for the next round).
    void Reset() {
        for (std::vector<uint32_t>& runs : longer_) runs.clear();
    }
    size_t Longest(uint32_t pixel) const { return longer_[pixel].size() + 1; }
    uint32_t Code(uint32_t pixel, size_t length) const {
        return length == 1 ? pixel : longer_[pixel][length - 2] & kCodeMask;
    }
    uint32_t Place(uint32_t pixel, size_t length) const {
        return length == 1 ? CodeDictionary::PlaceOfCode(pixel) : longer_[pixel][length - 2] >> kCodeBits;
    }
    // Records the run one pixel longer than Longest(pixel).
    void Extend(uint32_t pixel, uint32_t code, uint32_t place) {
        longer_[pixel].push_back(place << kCodeBits | code);
    }

private:
    static constexpr unsigned kCodeBits = 12;
    static constexpr uint32_t kCodeMask = (1u << kCodeBits) - 1;
    std::vector<std::vector<uint32_t>> longer_;  // per pixel, place << 12 | code of p^2, p^3, ...
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

// Whether the eight pixels at `at` all repeat the one before them.
bool LongRunAt(const uint8_t* at) {
    uint64_t word;
    std::memcpy(&word, at, 8);
    return word == 0x0101010101010101ull * at[-1];
}

// Where the packed codes go: the write position and the bits not yet whole bytes. A plain value, so
// that the coder keeps it in registers; the buffer itself belongs to the coder.
struct CodeSink {
    uint8_t* at = nullptr;
    uint8_t* end = nullptr;  // `at` may go up to kSlack bytes before this
    uint64_t bits = 0;
    unsigned pending = 0;  // bits in `bits`, below 8 between codes

    static constexpr size_t kSlack = 16;  // room for two codes and the 8-byte store after them

    // Least-significant bit first. The whole accumulator is stored every time and the position moves
    // by the bytes completed, so no branch depends on how the code widths add up.
    void Put(uint32_t code, unsigned width) {
        bits |= uint64_t(code) << pending;
        pending += width;
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(at, &bits, 8);
        } else {
            for (unsigned i = 0; i < 8; ++i) at[i] = uint8_t(bits >> (8 * i));
        }
        at += pending / 8;
        bits >>= pending & ~7u;
        pending &= 7;
    }
};

// The code width and the next free entry, which move together: the width grows by one bit once the
// newest entry reaches 2^width.
struct CodeCounter {
    uint32_t next = 0;  // the entry the next unmatched pixel makes
    unsigned width = 0;
    uint32_t widthLimit = 0;
};

// Greedy longest-match LZW over the pixel indices, through CodeDictionary, with long runs of one
// colour taken in one step through RunCodes.
class LzwCoder {
public:
    LzwCoder(int rootBits, size_t pixelCount)
        : rootBits_(unsigned(rootBits)),
          clearCode_(1u << rootBits),
          firstFree_(clearCode_ + 2),
          bytes_(pixelCount / 4 + 64) {}

    std::vector<uint8_t> Encode(const uint8_t* pixels, size_t count) {
        CodeSink sink{bytes_.data(), bytes_.data() + bytes_.size(), 0, 0};
        CodeCounter counter = StartRound();
        sink.Put(clearCode_, counter.width);
        if (count > 0) EncodePixels(pixels, count, sink, counter);
        sink = Room(sink);
        sink.Put(clearCode_ + 1, counter.width);  // end code
        bytes_.resize(size_t(sink.at - bytes_.data()) + (sink.pending > 0));
        return std::move(bytes_);
    }

private:
    // The state lives in local values for the length of the loop: stores into the output bytes
    // could otherwise alias it, and every code would reload it from memory.
    void EncodePixels(const uint8_t* pixels, size_t count, CodeSink& sinkOut, CodeCounter& counterOut) {
        CodeSink sink = sinkOut;
        CodeCounter counter = counterOut;
        CodeDictionary& dictionary = *dictionary_;
        uint32_t current = pixels[0];  // the code of the longest match so far; here a single pixel
        uint32_t place = CodeDictionary::PlaceOfCode(current);
        size_t i = 1;
        while (i < count) {
            // A new string starts at i - 1. Only a long run is worth the run bookkeeping: a short
            // one goes through the dictionary like any other string, and the test stays predictable.
            if (count - i >= 8 && LongRunAt(pixels + i)) {
                const uint32_t runPixel = pixels[i - 1];
                CatchUp(runPixel);
                // Take as much of the run as the dictionary knows; one pixel more is a miss.
                const size_t known = runs_.Longest(runPixel) - 1;
                const size_t equal = CountEqual(pixels + i, std::min(count - i, known + 1), uint8_t(runPixel));
                const size_t matched = std::min(equal, known);
                i += matched;
                current = runs_.Code(runPixel, matched + 1);
                place = runs_.Place(runPixel, matched + 1);
                if (equal > known) {
                    const uint32_t key = CodeDictionary::Key(current, runPixel);
                    const uint32_t slot = dictionary.Probe(dictionary.Home(place, runPixel), key);
                    const uint32_t code = Emit(current, sink, counter);
                    dictionary.Store(slot, key, code);
                    runs_.Extend(runPixel, code, slot);
                    counter = EntryMade(counter, sink);
                    place = CodeDictionary::PlaceOfCode(current = runPixel);
                    ++i;
                    continue;
                }
                if (i == count) break;
            }
            // Follow the dictionary until a pixel extends the match to a string it does not know.
            uint32_t pixel = pixels[i++];
            uint32_t key = CodeDictionary::Key(current, pixel);
            uint32_t slot = dictionary.Home(place, pixel);
            uint32_t entry = dictionary.At(slot);
            for (;;) {
                if (!CodeDictionary::Holds(entry, key)) {
                    if (entry == CodeDictionary::kEmpty) break;
                    slot = dictionary.Probe(slot, key);
                    entry = dictionary.At(slot);
                    if (entry == CodeDictionary::kEmpty) break;
                }
                current = CodeDictionary::CodeIn(entry);
                if (i == count) break;
                pixel = pixels[i++];
                key = CodeDictionary::Key(current, pixel);
                slot = dictionary.Home(slot, pixel);
                entry = dictionary.At(slot);
            }
            if (entry != CodeDictionary::kEmpty) break;  // the image ended inside a known string
            dictionary.Store(slot, key, Emit(current, sink, counter));
            counter = EntryMade(counter, sink);
            place = CodeDictionary::PlaceOfCode(current = pixel);
        }
        // The last match, then the end code at the width a decoder reaches after reading it: the
        // decoder counts one more entry for the last code, so the end code may need one bit more.
        Emit(current, sink, counter);
        if (counter.next >= counter.widthLimit) ++counter.width;
        sinkOut = sink;
        counterOut = counter;
    }

    // Writes the code of the longest match and returns the entry its extension by one pixel becomes.
    uint32_t Emit(uint32_t code, CodeSink& sink, CodeCounter& counter) {
        sink = Room(sink);
        if (counter.next - 1 >= counter.widthLimit) {
            ++counter.width;
            counter.widthLimit <<= 1;
        }
        sink.Put(code, counter.width);
        return counter.next;
    }

    CodeCounter EntryMade(CodeCounter counter, CodeSink& sink) {
        if (++counter.next < kCodeLimit) return counter;
        // Entry 4095 exists: start over before any code would need 13 bits.
        sink.Put(clearCode_, counter.width);
        dictionary_->Clear();
        runs_.Reset();
        return StartRound();
    }

    CodeCounter StartRound() const { return {firstFree_, rootBits_ + 1, 1u << (rootBits_ + 1)}; }

    // Room for two more codes, the buffer doubled when it runs short.
    CodeSink Room(CodeSink sink) {
        if (sink.end - sink.at >= ptrdiff_t(CodeSink::kSlack)) [[likely]]
            return sink;
        const size_t size = size_t(sink.at - bytes_.data());
        bytes_.resize(bytes_.size() * 2);
        sink.at = bytes_.data() + size;
        sink.end = bytes_.data() + bytes_.size();
        return sink;
    }

    // Runs that were made one lookup at a time join the list of their colour.
    void CatchUp(uint32_t pixel) {
        for (;;) {
            const size_t longest = runs_.Longest(pixel);
            const uint32_t key = CodeDictionary::Key(runs_.Code(pixel, longest), pixel);
            const uint32_t slot = dictionary_->Probe(dictionary_->Home(runs_.Place(pixel, longest), pixel), key);
            const uint32_t entry = dictionary_->At(slot);
            if (entry == CodeDictionary::kEmpty) return;
            runs_.Extend(pixel, CodeDictionary::CodeIn(entry), slot);
        }
    }

    const unsigned rootBits_;
    const uint32_t clearCode_, firstFree_;
    std::unique_ptr<CodeDictionary> dictionary_ = std::make_unique<CodeDictionary>();
    RunCodes runs_;
    std::vector<uint8_t> bytes_;
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
