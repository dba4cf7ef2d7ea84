#pragma once
// An owning array on the C heap. The library is built without exceptions, so a failed allocation
// must come back as a null pointer the caller can test, not as an abort inside operator new.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace wexbury {

template <typename T>
class HeapBuffer {
public:
    HeapBuffer() = default;
    HeapBuffer(const HeapBuffer&) = delete;
    HeapBuffer& operator=(const HeapBuffer&) = delete;
    HeapBuffer(HeapBuffer&& other) noexcept { Swap(other); }
    HeapBuffer& operator=(HeapBuffer&& other) noexcept {
        HeapBuffer(std::move(other)).Swap(*this);
        return *this;
    }
    ~HeapBuffer() { std::free(data_); }

    // Replaces the contents with `count` uninitialised elements; false (and empty) when the size
    // overflows or the heap refuses.
    bool Allocate(size_t count) {
        Reset();
        if (count == 0) return true;
        if (count > SIZE_MAX / sizeof(T)) return false;
        data_ = static_cast<T*>(std::malloc(count * sizeof(T)));
        if (!data_) return false;
        size_ = count;
        return true;
    }
    bool AllocateZeroed(size_t count) {
        if (!Allocate(count)) return false;
        if (count) std::memset(static_cast<void*>(data_), 0, count * sizeof(T));
        return true;
    }
    // Keeps the first min(old, new) elements.
    bool Resize(size_t count) {
        if (count > SIZE_MAX / sizeof(T)) return false;
        if (count == 0) {
            Reset();
            return true;
        }
        T* grown = static_cast<T*>(std::realloc(data_, count * sizeof(T)));
        if (!grown) return false;
        data_ = grown;
        size_ = count;
        return true;
    }
    void Reset() {
        std::free(data_);
        data_ = nullptr;
        size_ = 0;
    }

    T* data() { return data_; }
    const T* data() const { return data_; }
    size_t size() const { return size_; }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }

private:
    void Swap(HeapBuffer& other) {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
    }
    T* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace wexbury
