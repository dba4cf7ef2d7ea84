#pragma once
// The rows of the history list (platform-free): name, full path and time text of each saved or
// added file, oldest first. All texts sit in one growing block, so that thousands of rows load,
// show and save without one allocation a text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class HistoryRows {
public:
    size_t Count() const { return rows.size(); }
    bool Empty() const { return rows.empty(); }

    std::string_view Name(size_t row) const { return Text(rows[row].name); }
    std::string_view Location(size_t row) const { return Text(rows[row].location); }
    std::string_view Time(size_t row) const { return Text(rows[row].time); }

    // Appends a row at the end (rows keep their insertion order; the same file may come twice).
    void Append(std::string_view name, std::string_view location, std::string_view time);
    void Remove(size_t row);
    void Clear();
    // Room for `rows` more rows holding `textBytes` more bytes of text, before a large load.
    void Reserve(size_t moreRows, size_t moreTextBytes);

private:
    struct Span {
        uint32_t offset;
        uint32_t length;
    };
    struct Row {
        Span name, location, time;
    };
    std::string_view Text(Span s) const { return std::string_view(texts.data() + s.offset, s.length); }
    Span Store(std::string_view text);
    // Drops the text of removed rows once it outweighs the text still in use.
    void CompactIfWasteful();

    std::string texts;
    std::vector<Row> rows;
    size_t liveTextBytes = 0;
};

// The time text of a row: "%Y/%m/%d %H:%M:%S", for example "2002/07/15 09:05:03".
std::string FormatHistoryTime(int year, int month, int day, int hour, int minute, int second);
