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
// Where a string is looked for first depends on where its prefix sits (its place), not on the
// prefix's code. Following a known string, the next slot is then computed from the slot just read
// without waiting for its contents, so the processor fetches the slots of a whole string at once;
// on photos, where strings are short and nearly every one ends in a miss, waiting on each lookup in
// turn was most of the time. A one-pixel string is not in the table; its place is spread from its
// code.
//
// Open addressing with linear probing; a slot holds key << 12 | code in 32 bits. The key is
// (prefix << 8 | pixel) + 1, never 0, and the prefix is at most 4094 (entry 4095 is dropped as soon
// as it is made), so neither the empty slot (0) nor the all-ones value can be taken for an entry.
template <unsigned kSlotBits>
class CodeDictionary {
public:
    static constexpr uint32_t kEmpty = 0;

    CodeDictionary() {
        std::memset(slots_, 0, sizeof slots_);
        for (uint32_t pixel = 0; pixel < 256; ++pixel) {
            pixelSpread_[pixel] = uint16_t(Spread(pixel + 1));
            turnedRoots_[pixel] = uint16_t(Turn(Spread(pixel)));
        }
    }

    // Empties only the slots this round filled, those of codes `firstCode` to 4095 (a round ends
    // when the table is full): at most 4094 of 32768, and a photo clears the table every few
    // thousand pixels.
    void Clear(uint32_t firstCode) {
        for (uint32_t code = firstCode; code < kCodeLimit; ++code) slots_[placeOf_[code]] = kEmpty;
    }

    static uint32_t Key(uint32_t prefix, uint32_t pixel) { return (prefix << 8 | pixel) + 1; }
    static uint32_t PrefixOf(uint32_t key) { return (key - 1) >> 8; }

    // The first slot to look at for a string extended by `pixel`, given Turn() of the string's
    // place. The turn makes the order of the pixels count: "ab" and "ba" after the same prefix part.
    uint32_t Home(uint32_t turnedPlace, uint32_t pixel) const { return turnedPlace ^ pixelSpread_[pixel]; }
    static uint32_t Turn(uint32_t place) { return (place << kTurn | place >> (kSlotBits - kTurn)) & kSlotMask; }
    // Turn() of a one-pixel string's place, from a table: it starts nearly every string.
    uint32_t TurnedRoot(uint32_t pixel) const { return turnedRoots_[pixel]; }

    // The slot from `slot` on that holds `key`, or the empty slot where it belongs.
    uint32_t Probe(uint32_t slot, uint32_t key) const {
        for (;;) {
            const uint32_t entry = slots_[slot];
            if (Holds(entry, key) || entry == kEmpty) return slot;
            slot = (slot + 1) & kSlotMask;
        }
    }

    uint32_t At(uint32_t slot) const { return slots_[slot]; }
    void Store(uint32_t slot, uint32_t key, uint32_t code) {
        slots_[slot] = key << kCodeBits | code;
        placeOf_[code] = uint16_t(slot);
    }

    static bool Holds(uint32_t entry, uint32_t key) { return (entry >> kCodeBits) == key; }
    static uint32_t CodeIn(uint32_t entry) { return entry & kCodeMask; }

private:
    static constexpr unsigned kCodeBits = 12;
    static constexpr uint32_t kCodeMask = (1u << kCodeBits) - 1;
    static constexpr uint32_t kSlotMask = (1u << kSlotBits) - 1;
    static constexpr unsigned kTurn = 3;

    // Multiplicative hashing spreads small numbers evenly over the top bits.
    static uint32_t Spread(uint32_t value) { return (value * 0x9E3779B1u) >> (32 - kSlotBits); }

    uint32_t slots_[1u << kSlotBits];
    uint16_t placeOf_[kCodeLimit];  // the slot each code of this round was stored in
    uint16_t pixelSpread_[256];
    uint16_t turnedRoots_[256];
};

// The codes and places of the one-colour strings pp, ppp, ... of every pixel value p. Such a string
// is only ever made by extending the one a pixel shorter, so those present are always p^1 up to some
// longest p^m. A long run of equal pixels can then be matched by counting them, instead of one
// dictionary lookup per pixel: on screenshots, most pixels lie in such runs.
//
// The lists repeat what the dictionary holds, and may lag behind it: runs made one lookup at a time
// join the list of their colour when it is next needed (LzwCoder::CatchUp).
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
    // The slot of p^length, for a length of 2 or more.
    uint32_t Place(uint32_t pixel, size_t length) const { return longer_[pixel][length - 2] >> kCodeBits; }
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

// Packs codes least-significant bit first, at the widths a decoder expects: it counts the entries
// the codes make as a decoder does, so the coder only has to say where the clear codes go.
class CodePacker {
public:
    static constexpr uint16_t kClearMark = 0xFFFF;  // a clear code here, and the count starts over

    CodePacker(unsigned rootBits, size_t expectedBytes)
        : rootBits_(rootBits), clearCode_(1u << rootBits), bytes_(expectedBytes + kSlack) {
        StartOver();
    }

    // Every code stores the whole accumulator and moves on by the bytes it completed, so that no
    // branch depends on how the code widths add up. Fewer than 8 bits wait between codes and a
    // code has at most 12, so 32 bits hold them: one register in the 32-bit build too.
    void Pack(const uint16_t* codes, const uint16_t* end) {
        const size_t room = size_ + 2 * size_t(end - codes) + kSlack;
        if (room > bytes_.size()) bytes_.resize(std::max(room, 2 * bytes_.size()));
        uint8_t* at = bytes_.data() + size_;
        uint32_t bits = bits_;
        unsigned pending = pending_;
        for (; codes != end; ++codes) {
            uint32_t code = *codes;
            unsigned width = width_;
            if (code == kClearMark) [[unlikely]] {
                code = clearCode_;
                StartOver();
            } else {
                // The decoder's table is one entry behind ours: it makes an entry from each code
                // after the first, and once that entry reaches 2^width it reads a bit more.
                if (next_ - 1 >= widthLimit_) [[unlikely]] {
                    width = ++width_;
                    widthLimit_ <<= 1;
                }
                ++next_;
            }
            bits |= code << pending;
            pending += width;
            if constexpr (std::endian::native == std::endian::little) {
                std::memcpy(at, &bits, 4);
            } else {
                for (unsigned i = 0; i < 4; ++i) at[i] = uint8_t(bits >> (8 * i));
            }
            at += pending / 8;
            bits >>= pending & ~7u;
            pending &= 7;
        }
        size_ = size_t(at - bytes_.data());
        bits_ = bits;
        pending_ = pending;
    }

    // The packed stream; its partial last byte was stored with the last code.
    std::vector<uint8_t> Finish() {
        bytes_.resize(size_ + (pending_ > 0));
        return std::move(bytes_);
    }

private:
    static constexpr size_t kSlack = 4;  // the 4-byte store of the last code

    void StartOver() {
        width_ = rootBits_ + 1;
        widthLimit_ = 1u << width_;
        next_ = clearCode_ + 2;
    }

    const unsigned rootBits_;
    const uint32_t clearCode_;
    std::vector<uint8_t> bytes_;
    size_t size_ = 0;
    uint32_t bits_ = 0;
    unsigned pending_ = 0;  // bits in the accumulator, below 8 between codes
    unsigned width_ = 0;
    uint32_t widthLimit_ = 0;
    uint32_t next_ = 0;  // the entry our table makes with the next code
};

// Greedy longest-match LZW over the pixel indices, through CodeDictionary, with long runs of one
// colour taken in one step through RunCodes. The codes are collected in batches and packed apart,
// so that the matching loop, whose every string ends in a branch no processor predicts, has little
// else to do.
template <unsigned kSlotBits>
class LzwCoder {
public:
    LzwCoder(int rootBits, size_t pixelCount)
        : clearCode_(1u << rootBits),
          firstFree_(clearCode_ + 2),
          packer_(unsigned(rootBits), pixelCount / 4),
          // A small image's codes fit in one batch: its pixels, at most one clear, and the codes
          // around them.
          batchSize_(pixelCount < kRound ? pixelCount + 4 : kBatch),
          batch_(new uint16_t[batchSize_]) {}

    std::vector<uint8_t> Encode(const uint8_t* pixels, size_t count) {
        uint16_t* out = batch_.get();
        *out++ = CodePacker::kClearMark;
        if (count > 0) out = EncodePixels(pixels, count, out);
        *out++ = uint16_t(clearCode_ + 1);  // end code
        packer_.Pack(batch_.get(), out);
        return packer_.Finish();
    }

private:
    using Dictionary = CodeDictionary<kSlotBits>;

    // A batch holds whole rounds (the codes from one clear to the next, fewer than 4096): one with
    // less room left than a round is packed at the next clear.
    static constexpr size_t kRound = 4096 + 2;
    static constexpr size_t kBatch = 4 * kRound;

    // The state lives in local values for the length of the loop (stores through the batch could
    // otherwise alias it, and every code would reload it), and the rare work is kept out of line,
    // so that the loop's values all fit in registers.
    [[gnu::noinline]] uint16_t* EncodePixels(const uint8_t* pixels, size_t count, uint16_t* out) {
        Dictionary& dictionary = *dictionary_;
        const uint8_t* const end = pixels + count;
        const uint8_t* at = pixels + 1;  // the pixel after the current string
        uint32_t next = firstFree_;     // the entry the next unmatched pixel makes
        uint32_t current = pixels[0];   // the code of the longest match so far; here one pixel
        uint32_t turned = dictionary.TurnedRoot(current);  // Turn() of the current string's place
        while (at != end) {
            // A new string starts at at[-1]. Only a long run is worth the run bookkeeping: a short
            // one goes through the dictionary like any other string, and the test stays predictable.
            if (end - at >= 8 && LongRunAt(at)) {
                const uint32_t runPixel = at[-1];
                CatchUp(runPixel);
                // Take as much of the run as the dictionary knows; one pixel more is a miss.
                const size_t known = runs_.Longest(runPixel) - 1;
                const size_t equal = CountEqual(at, std::min(size_t(end - at), known + 1), uint8_t(runPixel));
                const size_t matched = std::min(equal, known);
                at += matched;
                current = runs_.Code(runPixel, matched + 1);
                turned = matched == 0 ? dictionary.TurnedRoot(runPixel)
                                      : Dictionary::Turn(runs_.Place(runPixel, matched + 1));
                if (equal > known) {
                    const uint32_t key = Dictionary::Key(current, runPixel);
                    const uint32_t slot = dictionary.Probe(dictionary.Home(turned, runPixel), key);
                    *out++ = uint16_t(current);
                    dictionary.Store(slot, key, next);
                    runs_.Extend(runPixel, next, slot);
                    if (++next == kCodeLimit) {
                        out = StartOver(out);
                        next = firstFree_;
                    }
                    turned = dictionary.TurnedRoot(current = runPixel);
                    ++at;
                    continue;
                }
                if (at == end) break;
            }
            // Follow the dictionary until a pixel extends the match to a string it does not know.
            uint32_t pixel = *at++;
            uint32_t key = Dictionary::Key(current, pixel);
            uint32_t slot = dictionary.Home(turned, pixel);
            uint32_t entry = dictionary.At(slot);
            for (;;) {
                if (!Dictionary::Holds(entry, key)) {
                    if (entry == Dictionary::kEmpty) break;
                    slot = dictionary.Probe(slot, key);
                    entry = dictionary.At(slot);
                    if (entry == Dictionary::kEmpty) break;
                }
                if (at == end) break;
                pixel = *at++;
                key = Dictionary::Key(Dictionary::CodeIn(entry), pixel);
                slot = dictionary.Home(Dictionary::Turn(slot), pixel);
                entry = dictionary.At(slot);
            }
            if (entry != Dictionary::kEmpty) {  // the image ended inside a known string
                current = Dictionary::CodeIn(entry);
                break;
            }
            // The match is the key's prefix: keeping only the key live through the loop spares the
            // 32-bit build a register.
            current = Dictionary::PrefixOf(key);
            *out++ = uint16_t(current);
            dictionary.Store(slot, key, next);
            if (++next == kCodeLimit) {
                out = StartOver(out);
                next = firstFree_;
            }
            turned = dictionary.TurnedRoot(current = pixel);
        }
        *out++ = uint16_t(current);  // the last match
        return out;
    }

    // Entry 4095 exists: a clear code, before any code would need 13 bits, and an empty dictionary.
    [[gnu::noinline]] uint16_t* StartOver(uint16_t* out) {
        *out++ = CodePacker::kClearMark;
        dictionary_->Clear(firstFree_);
        runs_.Reset();
        if (size_t(batch_.get() + batchSize_ - out) >= kRound) return out;
        packer_.Pack(batch_.get(), out);
        return batch_.get();
    }

    // Runs that were made one lookup at a time join the list of their colour.
    [[gnu::noinline]] void CatchUp(uint32_t pixel) {
        for (;;) {
            const size_t longest = runs_.Longest(pixel);
            const uint32_t turned =
                longest == 1 ? dictionary_->TurnedRoot(pixel) : Dictionary::Turn(runs_.Place(pixel, longest));
            const uint32_t key = Dictionary::Key(runs_.Code(pixel, longest), pixel);
            const uint32_t slot = dictionary_->Probe(dictionary_->Home(turned, pixel), key);
            const uint32_t entry = dictionary_->At(slot);
            if (entry == Dictionary::kEmpty) return;
            runs_.Extend(pixel, Dictionary::CodeIn(entry), slot);
        }
    }

    const uint32_t clearCode_, firstFree_;
    std::unique_ptr<Dictionary> dictionary_ = std::make_unique<Dictionary>();
    RunCodes runs_;
    CodePacker packer_;
    const size_t batchSize_;
    std::unique_ptr<uint16_t[]> batch_;
};

// Fewer pixels than this make fewer entries than half of a small table's slots.
constexpr size_t kSmallImage = 2048;

}  // namespace

void AppendGifImageData(const uint8_t* indices, size_t count, int rootBits, std::vector<uint8_t>& out) {
    // 32768 slots keep a full table under one eighth used, so that a lookup rarely needs a second
    // slot; a small image clears a small table instead.
    const std::vector<uint8_t> packed = count < kSmallImage ? LzwCoder<12>(rootBits, count).Encode(indices, count)
                                                            : LzwCoder<15>(rootBits, count).Encode(indices, count);
    out.reserve(out.size() + 1 + packed.size() + packed.size() / kSubBlockSize + 2);
    out.push_back(uint8_t(rootBits));
    for (size_t at = 0; at < packed.size(); at += kSubBlockSize) {
        const size_t length = std::min(kSubBlockSize, packed.size() - at);
        out.push_back(uint8_t(length));
        out.insert(out.end(), packed.begin() + at, packed.begin() + at + length);
    }
    out.push_back(0);  // block terminator
}
