// The second thread of the JPEG writer's row pipeline and the signal its stages hand rows over
// with: every handed-over row arrives, in order, and a thread can be started again after a join.
#include "wexbury/side_thread.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Handover {
    wexbury::Signal free{2}, made{0};
    int slots[2] = {0, 0};
    int rows = 0;
    static void Produce(void* self) {
        Handover* h = static_cast<Handover*>(self);
        for (int i = 0; i < h->rows; ++i) {
            h->free.Wait();
            h->slots[i & 1] = i * i;
            h->made.Post();
        }
    }
};

TEST(WexburySideThread, RowsHandedOverThroughTwoSlotsArriveInOrderAndAThreadStartsAgain) {
    for (int round = 0; round < 3; ++round) {
        Handover h;
        h.rows = 500;
        ASSERT_TRUE(h.free.Ready() && h.made.Ready());
        wexbury::SideThread thread;
        ASSERT_TRUE(thread.Start(&Handover::Produce, &h));
        std::vector<int> seen;
        for (int i = 0; i < h.rows; ++i) {
            h.made.Wait();
            seen.push_back(h.slots[i & 1]);
            h.free.Post();
        }
        thread.Join();
        thread.Join();  // a second join is harmless
        for (int i = 0; i < h.rows; ++i) ASSERT_EQ(seen[size_t(i)], i * i) << "round " << round;
    }
}

}  // namespace
