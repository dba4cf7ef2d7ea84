#include "editor/pages_faulted_ahead.h"

#include <new>

namespace {

DWORD ProcessorCount() {
    SYSTEM_INFO system;
    ::GetSystemInfo(&system);
    return system.dwNumberOfProcessors;
}

}  // namespace

PagesFaultedAhead::PagesFaultedAhead(AreaAverage::SourceRows& source, int sourceHeight, uint8_t* target,
                                     ptrdiff_t stride, int targetHeight, bool fresh)
    : source_(source), sourceHeight_(sourceHeight), targetHeight_(targetHeight),
      target_(reinterpret_cast<uintptr_t>(target)), firstPage_(target_ & ~uintptr_t(kPage - 1)),
      stride_(stride) {
    const size_t bytes = size_t(stride) * size_t(targetHeight);
    pages_ = PagesBelow(target_ + bytes);
    if (!fresh || bytes < kWorthIt || ProcessorCount() < 2) return;
    done_.reset(new (std::nothrow) std::atomic<uint8_t>[pages_]);
    if (!done_) return;
    for (size_t k = 0; k < pages_; ++k) done_[k].store(0, std::memory_order_relaxed);
    thread_ = ::CreateThread(nullptr, 64 * 1024, &PagesFaultedAhead::Help, this,
                             STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
}

PagesFaultedAhead::~PagesFaultedAhead() {
    if (!thread_) return;
    next_.store(pages_);  // the helper claims nothing more
    ::WaitForSingleObject(thread_, INFINITE);
    ::CloseHandle(thread_);
}

const uint8_t* PagesFaultedAhead::Rows(int y, int count, ptrdiff_t* stride) {
    if (thread_) {
        // The reduction may now write every target row whose first source row is among these
        // (the axes put row t's first at t * sourceHeight / targetHeight, rounded down).
        const int64_t end = (int64_t(y + count) * targetHeight_ + sourceHeight_ - 1) / sourceHeight_;
        const int64_t rows = end < targetHeight_ ? end : targetHeight_;
        Reach(PagesBelow(target_ + uintptr_t(rows) * uintptr_t(stride_)));
    }
    return source_.Rows(y, count, stride);
}

void PagesFaultedAhead::Touch(size_t k) {
    const uintptr_t start = firstPage_ + k * kPage;
    *reinterpret_cast<volatile uint8_t*>(start > target_ ? start : target_) = 0;
    done_[k].store(1, std::memory_order_release);
}

DWORD WINAPI PagesFaultedAhead::Help(void* self) {
    auto* ahead = static_cast<PagesFaultedAhead*>(self);
    for (size_t k; (k = ahead->next_.fetch_add(1)) < ahead->pages_;) ahead->Touch(k);
    return 0;
}

void PagesFaultedAhead::Reach(size_t pages) {
    if (pages > pages_) pages = pages_;
    for (size_t k; next_.load(std::memory_order_relaxed) < pages && (k = next_.fetch_add(1)) < pages_;)
        Touch(k);
    for (; reached_ < pages; ++reached_)
        while (!done_[reached_].load(std::memory_order_acquire)) YieldProcessor();
}
