#pragma once
// The bars of one dock bar, row by row, in one list in which an empty entry separates rows:
// [null, A, B, null, C, null] holds the rows {A, B} and {C}. The list always starts with an empty
// entry and every row ends with one, so a row is the run of bars between two empty entries.
// Platform-free (a template over the bar type) so the row rules are tested without windows.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace dock {

template <class Bar>
class RowList {
public:
    RowList() : entries_{nullptr} {}

    const std::vector<Bar*>& Entries() const { return entries_; }
    bool Contains(const Bar* bar) const { return Find(bar) != npos; }
    bool IsEmpty() const { return entries_.size() <= 1; }
    int BarCount() const {
        return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                              [](Bar* b) { return b != nullptr; }));
    }

    // The rows, each in list order.
    std::vector<std::vector<Bar*>> Rows() const {
        std::vector<std::vector<Bar*>> rows;
        std::vector<Bar*> row;
        for (Bar* entry : entries_) {
            if (entry) {
                row.push_back(entry);
            } else if (!row.empty()) {
                rows.push_back(row);
                row.clear();
            }
        }
        if (!row.empty()) rows.push_back(row);
        return rows;
    }

    // The bars of the row that holds `bar` (empty when it is not in the list).
    std::vector<Bar*> RowOf(const Bar* bar) const {
        size_t at = Find(bar);
        if (at == npos) return {};
        size_t first = at, last = at;
        while (first > 0 && entries_[first - 1]) --first;
        while (last + 1 < entries_.size() && entries_[last + 1]) ++last;
        return std::vector<Bar*>(entries_.begin() + first, entries_.begin() + last + 1);
    }

    // A new row of its own at the end.
    void AppendRow(Bar* bar) {
        entries_.push_back(bar);
        entries_.push_back(nullptr);
    }

    // Into existing row `row` before its bar number `position` (past its end: after its last bar),
    // or, with `newRow`, as a new row standing before row `row` (past the last row: at the end).
    void Insert(Bar* bar, size_t row, size_t position, bool newRow) {
        size_t rowStart = 1;  // index of the first entry of row `row`
        size_t rows = 0;
        for (size_t i = 1; i < entries_.size() && rows < row; ++i)
            if (!entries_[i]) {
                ++rows;
                rowStart = i + 1;
            }
        if (rows < row || rowStart >= entries_.size()) {  // past the last row
            AppendRow(bar);
            return;
        }
        if (newRow) {
            entries_.insert(entries_.begin() + rowStart, {bar, nullptr});
            return;
        }
        size_t at = rowStart;
        for (size_t n = 0; n < position && entries_[at]; ++n) ++at;
        entries_.insert(entries_.begin() + at, bar);
    }

    // Takes the bar out; a row left empty disappears with it.
    void Remove(const Bar* bar) {
        size_t at = Find(bar);
        if (at == npos) return;
        entries_.erase(entries_.begin() + at);
        if (at < entries_.size() && !entries_[at] && !entries_[at - 1]) entries_.erase(entries_.begin() + at);
    }

    // Ends the row right after `bar`: the bars behind it start a new row. False when the row
    // already ends there.
    bool BreakAfter(const Bar* bar) {
        size_t at = Find(bar);
        if (at == npos || at + 1 >= entries_.size() || !entries_[at + 1]) return false;
        entries_.insert(entries_.begin() + at + 1, nullptr);
        return true;
    }

    // Starts a new row with `bar`. False when it already starts one.
    bool BreakBefore(const Bar* bar) {
        size_t at = Find(bar);
        if (at == npos || !entries_[at - 1]) return false;
        entries_.insert(entries_.begin() + at, nullptr);
        return true;
    }

private:
    static constexpr size_t npos = static_cast<size_t>(-1);
    size_t Find(const Bar* bar) const {
        if (!bar) return npos;
        auto it = std::find(entries_.begin(), entries_.end(), bar);
        return it == entries_.end() ? npos : static_cast<size_t>(it - entries_.begin());
    }

    std::vector<Bar*> entries_;
};

}  // namespace dock
