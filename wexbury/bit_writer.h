#pragma once
// Entropy-coded bits, most significant first, with a zero byte stuffed after every 0xFF as the
// format requires. Bits gather in a 64-bit accumulator and leave four bytes at a time.
#include <cstdint>
#include <cstring>

#include "wexbury/byte_sink.h"

namespace wexbury {

class BitWriter {
public:
    explicit BitWriter(ByteSink& sink) : sink_(sink) {}
    ~BitWriter() { Sync(); }

    // The most bytes one block (and any correction bits it releases) can produce.
    static constexpr size_t kMaxBytesPerBlock = 1024;

    // Call before each block; false when memory ran out.
    bool Reserve(size_t bytes = kMaxBytesPerBlock) {
        if (size_t(limit_ - out_) >= bytes) return true;
        Sync();
        if (!sink_.Reserve(bytes * 2)) return false;
        out_ = sink_.End();
        limit_ = out_ + sink_.Spare();
        return true;
    }

    // Appends the low `n` bits of `bits` (n <= 32; the bits above n must be zero).
    void Put(uint32_t bits, int n) {
        acc_ = (acc_ << n) | bits;
        used_ += n;
        if (used_ >= 32) {
            used_ -= 32;
            PutWord(uint32_t(acc_ >> used_));
        }
    }

    // Pads the last byte with one-bits and writes out everything held back.
    bool Finish() {
        if (!Reserve(16)) return false;
        const int pad = (8 - used_ % 8) % 8;
        Put((1u << pad) - 1, pad);
        while (used_ >= 8) {
            used_ -= 8;
            PutByte(uint8_t(acc_ >> used_));
        }
        Sync();
        return true;
    }

private:
    void PutByte(uint8_t b) {
        *out_++ = b;
        if (b == 0xFF) *out_++ = 0;
    }
    void PutWord(uint32_t w) {
        const uint32_t inverted = ~w;
        // Any 0xFF byte in w is a zero byte in ~w; only then is the byte-wise path needed.
        if (((inverted - 0x01010101u) & ~inverted & 0x80808080u) == 0) {
            const uint8_t bytes[4] = {uint8_t(w >> 24), uint8_t(w >> 16), uint8_t(w >> 8),
                                      uint8_t(w)};
            std::memcpy(out_, bytes, 4);
            out_ += 4;
        } else {
            PutByte(uint8_t(w >> 24));
            PutByte(uint8_t(w >> 16));
            PutByte(uint8_t(w >> 8));
            PutByte(uint8_t(w));
        }
    }
    // Hands the bytes written so far over to the sink.
    void Sync() {
        if (out_) sink_.Advance(size_t(out_ - sink_.End()));
        out_ = limit_ = nullptr;
    }

    ByteSink& sink_;
    uint8_t* out_ = nullptr;
    uint8_t* limit_ = nullptr;
    uint64_t acc_ = 0;
    int used_ = 0;
};

}  // namespace wexbury
