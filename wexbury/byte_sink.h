#pragma once
// The growing memory buffer the JPEG is written into. The file on disk is only created once the
// whole image has been encoded here, so a failure never leaves half a JPEG behind.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "wexbury/heap_buffer.h"

namespace wexbury {

class ByteSink {
public:
    // Makes room for `extra` more bytes past Size(); false once the heap refuses (the sink then
    // stays failed, and everything written so far is kept).
    bool Reserve(size_t extra) {
        if (failed_) return false;
        if (buffer_.size() - size_ >= extra) return true;
        size_t want = buffer_.size() < 4096 ? 4096 : buffer_.size();
        while (want - size_ < extra) {
            if (want > SIZE_MAX / 2) return Fail();
            want *= 2;
        }
        return buffer_.Resize(want) || Fail();
    }
    void PutByte(uint8_t b) {
        if (Reserve(1)) buffer_[size_++] = b;
    }
    void PutBytes(const void* bytes, size_t n) {
        if (n && Reserve(n)) {
            std::memcpy(buffer_.data() + size_, bytes, n);
            size_ += n;
        }
    }
    void PutBigEndian16(unsigned v) {
        PutByte(uint8_t(v >> 8));
        PutByte(uint8_t(v));
    }

    // For the bit writer, which fills reserved space itself and then reports how much it used.
    uint8_t* End() { return buffer_.data() + size_; }
    void Advance(size_t n) { size_ += n; }
    size_t Spare() const { return buffer_.size() - size_; }

    bool Failed() const { return failed_; }
    const uint8_t* Data() const { return buffer_.data(); }
    size_t Size() const { return size_; }

private:
    bool Fail() {
        failed_ = true;
        return false;
    }
    HeapBuffer<uint8_t> buffer_;
    size_t size_ = 0;
    bool failed_ = false;
};

}  // namespace wexbury
