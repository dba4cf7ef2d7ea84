#include "history/history_rows.h"

#include <cstdio>

HistoryRows::Span HistoryRows::Store(std::string_view text) {
    Span span{static_cast<uint32_t>(texts.size()), static_cast<uint32_t>(text.size())};
    texts.append(text);
    liveTextBytes += text.size();
    return span;
}

void HistoryRows::Append(std::string_view name, std::string_view location, std::string_view time) {
    Row row;
    row.name = Store(name);
    row.location = Store(location);
    row.time = Store(time);
    rows.push_back(row);
}

void HistoryRows::Remove(size_t row) {
    if (row >= rows.size()) return;
    const Row& r = rows[row];
    liveTextBytes -= size_t(r.name.length) + r.location.length + r.time.length;
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(row));
    CompactIfWasteful();
}

void HistoryRows::Clear() {
    rows.clear();
    texts.clear();
    liveTextBytes = 0;
}

void HistoryRows::Reserve(size_t moreRows, size_t moreTextBytes) {
    rows.reserve(rows.size() + moreRows);
    texts.reserve(texts.size() + moreTextBytes);
}

void HistoryRows::CompactIfWasteful() {
    const size_t waste = texts.size() - liveTextBytes;
    if (waste < 64 * 1024 || waste < liveTextBytes) return;
    std::string kept;
    kept.reserve(liveTextBytes);
    for (Row& row : rows) {
        for (Span* span : {&row.name, &row.location, &row.time}) {
            const size_t offset = kept.size();
            kept.append(texts, span->offset, span->length);
            span->offset = static_cast<uint32_t>(offset);
        }
    }
    texts.swap(kept);
}

std::string FormatHistoryTime(int year, int month, int day, int hour, int minute, int second) {
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}
