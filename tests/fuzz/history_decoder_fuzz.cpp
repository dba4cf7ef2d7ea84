// fuzz-sources: history/history_file_format.cpp history/history_rows.cpp
// Arbitrary bytes taken as save.dat. Reading must stay within the input and within the record
// bound; the rows read, written again, read back as themselves.
#include <cstdlib>
#include <cstring>

#include "history/history_file_format.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool SameRows(const HistoryRows& a, const HistoryRows& b) {
    if (a.Count() != b.Count()) return false;
    for (size_t i = 0; i < a.Count(); ++i)
        if (a.Name(i) != b.Name(i) || a.Location(i) != b.Location(i) || a.Time(i) != b.Time(i)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace HistoryFile;
    HistoryRows rows;
    const int32_t claimed = Decode(data, size, rows);
    Check(rows.Count() <= kMaxRecords);
    Check(rows.Count() <= (size < kHeaderSize ? 0 : (size - kHeaderSize) / kRecordSize));
    Check(claimed < 1 ? rows.Empty() : rows.Count() <= size_t(claimed));
    for (size_t i = 0; i < rows.Count(); ++i) {
        Check(rows.Name(i).size() <= kNameSize && rows.Location(i).size() <= kLocationSize &&
              rows.Time(i).size() <= kTimeSize);
        Check(rows.Location(i).find('\0') == std::string_view::npos);
    }

    // The writer cuts each text to leave its field a terminator; after that one trip the rows
    // and the file are stable.
    const std::string file = Encode(rows);
    HistoryRows once;
    Check(Decode(file.data(), file.size(), once) == int32_t(rows.Count()) && once.Count() == rows.Count());
    for (size_t i = 0; i < rows.Count(); ++i)
        Check(once.Name(i) == rows.Name(i).substr(0, kNameSize - 1) &&
              once.Location(i) == rows.Location(i).substr(0, kLocationSize - 1) &&
              once.Time(i) == rows.Time(i).substr(0, kTimeSize - 1));
    HistoryRows twice;
    Decode(file.data(), file.size(), twice);
    Check(SameRows(once, twice) && Encode(once) == file);

    // Removing rows keeps the others' texts whole.
    if (!once.Empty()) {
        const std::string last(once.Location(once.Count() - 1));
        once.Remove(0);
        if (!once.Empty()) Check(once.Location(once.Count() - 1) == last);
    }
    return 0;
}
