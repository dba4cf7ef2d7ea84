#include "history/history_file_format.h"

#include <cstring>

namespace HistoryFile {

namespace {

void PutU32(char* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t GetU32(const unsigned char* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

// The field's bytes, cut to leave room for the terminating zero that the zero-filled field keeps.
void PutField(char* field, size_t fieldSize, std::string_view text) {
    std::memcpy(field, text.data(), text.size() < fieldSize ? text.size() : fieldSize - 1);
}

std::string_view FieldText(const char* field, size_t fieldSize) {
    const void* zero = std::memchr(field, 0, fieldSize);
    return std::string_view(field, zero ? static_cast<const char*>(zero) - field : fieldSize);
}

}  // namespace

std::string Encode(const HistoryRows& rows) {
    const size_t count = rows.Count();
    std::string file(kHeaderSize + count * kRecordSize, '\0');
    PutU32(&file[0], static_cast<uint32_t>(kSignature));
    PutU32(&file[4], static_cast<uint32_t>(count));
    char* record = &file[kHeaderSize];
    for (size_t i = 0; i < count; ++i, record += kRecordSize) {
        PutField(record, kNameSize, rows.Name(i));
        PutField(record + kNameSize, kLocationSize, rows.Location(i));
        PutField(record + kNameSize + kLocationSize, kTimeSize, rows.Time(i));
    }
    return file;
}

HeaderStatus ReadHeader(const void* data, size_t size, int32_t& count) {
    count = 0;
    if (size < kHeaderSize) return HeaderStatus::kTooShort;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (GetU32(bytes) != static_cast<uint32_t>(kSignature)) return HeaderStatus::kWrongSignature;
    count = static_cast<int32_t>(GetU32(bytes + 4));
    return count < 1 ? HeaderStatus::kNoRecords : HeaderStatus::kRecords;
}

void AppendRecords(const void* records, size_t count, HistoryRows& rows) {
    const char* record = static_cast<const char*>(records);
    rows.Reserve(count, count * 128);
    for (size_t i = 0; i < count; ++i, record += kRecordSize)
        rows.Append(FieldText(record, kNameSize), FieldText(record + kNameSize, kLocationSize),
                    FieldText(record + kNameSize + kLocationSize, kTimeSize));
}

ReadPlan RecordsToRead(int32_t count, uint64_t fileSize) {
    ReadPlan plan;
    if (count < 1 || fileSize < kHeaderSize) return plan;
    const uint64_t present = (fileSize - kHeaderSize) / kRecordSize;
    const uint64_t available = uint64_t(count) < present ? uint64_t(count) : present;
    plan.count = static_cast<size_t>(available < kMaxRecords ? available : kMaxRecords);
    plan.first = available - plan.count;
    return plan;
}

int32_t Decode(const void* data, size_t size, HistoryRows& rows) {
    int32_t count = 0;
    if (ReadHeader(data, size, count) != HeaderStatus::kRecords) return count;
    const ReadPlan plan = RecordsToRead(count, size);
    AppendRecords(static_cast<const char*>(data) + kHeaderSize + plan.first * kRecordSize, plan.count, rows);
    return count;
}

}  // namespace HistoryFile
