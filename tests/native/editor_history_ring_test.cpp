// The indices of the edit history ring.
#include <gtest/gtest.h>

#include "editor/history_ring.h"

namespace {

int UndoSteps(HistoryRing ring) {
    int steps = 0;
    while (ring.CanUndo()) {
        ring.Undo();
        ++steps;
    }
    return steps;
}

}  // namespace

TEST(EditorHistoryRing, ANewHistoryHasOneStateAndNothingToUndoOrRedo) {
    HistoryRing ring;
    EXPECT_TRUE(ring.Empty());
    EXPECT_FALSE(ring.CanUndo());
    EXPECT_FALSE(ring.CanRedo());
    ring.Reset();
    EXPECT_EQ(ring.Push(), 0);
    EXPECT_EQ(ring.historyBase, -1);
    EXPECT_EQ(ring.historyCurrent, 0);
    EXPECT_EQ(ring.historyTop, 0);
    EXPECT_FALSE(ring.CanUndo());
    EXPECT_FALSE(ring.CanRedo());
    ring.Push();
    EXPECT_TRUE(ring.CanUndo());
}

TEST(EditorHistoryRing, SevenStatesLeaveFiveUndoStepsAndForgetTheFirst) {
    HistoryRing ring;
    for (int i = 0; i < 7; ++i) ring.Push();
    EXPECT_EQ(ring.historyBase, 0);
    EXPECT_EQ(ring.historyCurrent, 6);
    EXPECT_EQ(ring.CurrentSlot(), 0);  // the seventh state reuses the first state's slot
    EXPECT_EQ(UndoSteps(ring), 5);
    for (int i = 0; i < 20; ++i) ring.Push();
    EXPECT_EQ(ring.historyTop - ring.historyBase, 6);
    EXPECT_EQ(UndoSteps(ring), 5);
}

TEST(EditorHistoryRing, UndoThenRedoReturnsToTheSameSlot) {
    HistoryRing ring;
    ring.Push();
    int cropped = ring.Push();
    EXPECT_EQ(ring.Undo(), 0);
    EXPECT_TRUE(ring.CanRedo());
    EXPECT_FALSE(ring.CanUndo());
    EXPECT_EQ(ring.Redo(), cropped);
    EXPECT_FALSE(ring.CanRedo());
}

TEST(EditorHistoryRing, ANewStateAfterUndoDropsTheRedoSide) {
    HistoryRing ring;
    for (int i = 0; i < 3; ++i) ring.Push();
    ring.Undo();
    ring.Undo();
    EXPECT_TRUE(ring.CanRedo());
    ring.Push();  // a crop
    EXPECT_FALSE(ring.CanRedo());
    EXPECT_EQ(ring.historyTop, ring.historyCurrent);
    // The old redo target's slot holds nothing anyone can reach any more.
    EXPECT_TRUE(ring.SlotInUse(0));
    EXPECT_TRUE(ring.SlotInUse(1));
    EXPECT_FALSE(ring.SlotInUse(2));
}

TEST(EditorHistoryRing, AZoomStepAfterUndoDropsTheRedoSideToo) {
    HistoryRing ring;
    ring.Push();
    ring.Push();
    ring.Undo();
    ring.DropRedo();
    EXPECT_FALSE(ring.CanRedo());
    EXPECT_EQ(ring.historyCurrent, 0);
    EXPECT_FALSE(ring.SlotInUse(1));
}

TEST(EditorHistoryRing, SlotsInUseAreExactlyTheReachableStates) {
    HistoryRing ring;
    for (int slot = 0; slot < HistoryRing::kSlots; ++slot) EXPECT_FALSE(ring.SlotInUse(slot));
    for (int i = 0; i < 9; ++i) ring.Push();  // indices 0..8: states 3..8 kept (base 2)
    for (int slot = 0; slot < HistoryRing::kSlots; ++slot) EXPECT_TRUE(ring.SlotInUse(slot));
    ring.Reset();
    ring.Push();  // a new image: only its own slot is needed
    EXPECT_TRUE(ring.SlotInUse(0));
    for (int slot = 1; slot < HistoryRing::kSlots; ++slot) EXPECT_FALSE(ring.SlotInUse(slot));
}
