#pragma once
// A new DIB section's pages each cost a page fault on their first write; for a large reduction
// together more than the averaging. A helper thread writes them once, top first, while the
// reduction averages; before the reduction writes a row, every page under it has been written by
// the helper or, where the reduction caught up with it, by the reduction itself. Each page is
// claimed by one of the two, so no page is written by both at once.
//
// It stands between the reduction and its source rows: the reduction writes a row only after it
// has asked for that row's source rows.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "editor/area_average.h"

class PagesFaultedAhead : public AreaAverage::SourceRows {
public:
    // Below this many bytes the faults cost less than starting a thread.
    static constexpr size_t kWorthIt = size_t(2) << 20;

    // `target`: the section's top row, `targetHeight` rows `stride` bytes apart, reduced from
    // `source`'s `sourceHeight` rows. A section whose pages are not `fresh` (written before), a
    // small one, or a machine with one processor gets no helper: the rows then simply pass
    // through.
    PagesFaultedAhead(AreaAverage::SourceRows& source, int sourceHeight, uint8_t* target,
                      ptrdiff_t stride, int targetHeight, bool fresh);
    ~PagesFaultedAhead() override;
    PagesFaultedAhead(const PagesFaultedAhead&) = delete;
    PagesFaultedAhead& operator=(const PagesFaultedAhead&) = delete;

    const uint8_t* Rows(int y, int count, ptrdiff_t* stride) override;

private:
    static constexpr size_t kPage = 4096;

    // How many pages the section's bytes before `address` lie on.
    size_t PagesBelow(uintptr_t address) const { return (address - firstPage_ + kPage - 1) / kPage; }
    // Writes page k once (the first byte of it that is the section's); the pixels are all
    // written by the reduction later.
    void Touch(size_t k);
    static DWORD WINAPI Help(void* self);
    // Pages 0 to `pages` - 1 are written: the reduction writes those not yet claimed itself, and
    // waits for the helper's one in hand.
    void Reach(size_t pages);

    AreaAverage::SourceRows& source_;
    const int sourceHeight_, targetHeight_;
    const uintptr_t target_, firstPage_;  // the section's pixels, and the start of their first page
    const ptrdiff_t stride_;
    size_t pages_ = 0;
    std::unique_ptr<std::atomic<uint8_t>[]> done_;
    std::atomic<size_t> next_{0};  // the next page to claim
    size_t reached_ = 0;           // pages below this are written, as the reduction knows
    HANDLE thread_ = nullptr;
};
