#include "editor/history_ring.h"

int HistoryRing::Push() {
    ++historyCurrent;
    historyTop = historyCurrent;
    if (historyCurrent - historyBase > kSlots) ++historyBase;
    return SlotOf(historyCurrent);
}

bool HistoryRing::SlotInUse(int slot) const {
    if (Empty()) return false;
    for (int index = historyBase + 1; index <= historyTop; ++index)
        if (SlotOf(index) == slot) return true;
    return false;
}
