#pragma once
// The two halves of the coding of each MCU row on two threads: a side thread makes the rows'
// blocks (pixels, colour, chroma fit, DCT) while the caller's rounds and stores the row before,
// the rows handed over through two slots. The trellis's bit costs follow the rows in order, so
// the file is the same as with one thread; with none to be had, the rows are made in turn.
#include <atomic>

#include "wexbury/row_maker.h"
#include "wexbury/side_thread.h"

namespace wexbury {

// `make(my, row)` fills `row` with MCU row my's blocks (RowMaker::Make, or a copy kept from
// before); false when the pixels cannot be had.
template <class MakeRow>
class RowPipeline {
public:
    RowPipeline(MakeRow& make, McuRowBlocks* slots[2], int rows)
        : make_(make), slots_{slots[0], slots[1]}, rows_(rows) {}

    template <class Finish>
    bool Run(Finish&& finish) {
        SideThread thread;
        if (!free_.Ready() || !made_.Ready() || !thread.Start(&RowPipeline::Produce, this)) {
            for (int my = 0; my < rows_; ++my) {
                if (!make_(my, *slots_[0])) return false;
                finish(my, *slots_[0]);
            }
            return true;
        }
        bool ok = true;
        for (int my = 0; my < rows_; ++my) {
            made_.Wait();
            if (failed_) {
                ok = false;
                break;
            }
            finish(my, *slots_[my & 1]);
            free_.Post();
        }
        stop_ = true;  // after a failure the maker may still wait for a free slot
        free_.Post();
        thread.Join();
        return ok;
    }

private:
    static void Produce(void* self) { static_cast<RowPipeline*>(self)->Produce(); }
    void Produce() {
        for (int my = 0; my < rows_; ++my) {
            free_.Wait();
            if (stop_) return;
            if (!make_(my, *slots_[my & 1])) {
                failed_ = true;
                made_.Post();
                return;
            }
            made_.Post();
        }
    }

    MakeRow& make_;
    McuRowBlocks* slots_[2];
    const int rows_;
    Signal free_{2}, made_{0};
    std::atomic<bool> failed_{false}, stop_{false};
};

}  // namespace wexbury
