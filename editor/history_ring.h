#pragma once
// The indices of the edit history: a ring of six states. Index n lives in slot n mod 6.
//   historyBase    one below the oldest state still kept
//   historyCurrent the state on screen
//   historyTop     the newest state Redo can reach
// All three are -1 while the history is empty; once a state exists
// historyBase < historyCurrent <= historyTop and historyTop - historyBase <= 6.

class HistoryRing {
public:
    static constexpr int kSlots = 6;

    int historyBase = -1;
    int historyCurrent = -1;
    int historyTop = -1;

    static int SlotOf(int index) { return ((index % kSlots) + kSlots) % kSlots; }

    // Forgets every state (Clear, and the start of a new history).
    void Reset() { historyBase = historyCurrent = historyTop = -1; }
    bool Empty() const { return historyCurrent < 0; }

    // A new newest state after the current one: the redo side is dropped and, from the seventh
    // state on, the oldest is forgotten. Returns the slot the new state goes to.
    int Push();
    // A zoom step rewrites the current state in place: the redo side is dropped.
    void DropRedo() { historyTop = historyCurrent; }

    bool CanUndo() const { return historyBase < historyCurrent - 1; }
    bool CanRedo() const { return historyCurrent < historyTop; }
    // Move to the previous / next state; return its slot. Only called when allowed.
    int Undo() { return SlotOf(--historyCurrent); }
    int Redo() { return SlotOf(++historyCurrent); }

    int CurrentSlot() const { return SlotOf(historyCurrent); }
    // True when `slot` holds a state that Undo or Redo can still reach (or the current one); the
    // bitmaps of any other slot are dead weight and may be freed.
    bool SlotInUse(int slot) const;
};
