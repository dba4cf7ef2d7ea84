#pragma once
// save.dat, the history's file (platform-free). Little-endian, no padding:
//   signature (32 bits, 101), count of records (signed 32 bits), then `count` records of 410 bytes:
//   name (50 bytes), location (260 bytes), time text (100 bytes), each a text, a zero byte, then zeros.
#include <cstddef>
#include <cstdint>
#include <string>

#include "history/history_rows.h"

namespace HistoryFile {

constexpr int32_t kSignature = 101;
constexpr size_t kHeaderSize = 8;
constexpr size_t kNameSize = 50;
constexpr size_t kLocationSize = 260;
constexpr size_t kTimeSize = 100;
constexpr size_t kRecordSize = kNameSize + kLocationSize + kTimeSize;  // 410

// The whole file for `rows`: each text cut to its field less the terminating zero (49, 259 and
// 99 characters).
std::string Encode(const HistoryRows& rows);

enum class HeaderStatus {
    kRecords,         // a count of at least 1 follows
    kNoRecords,       // a count below 1: an empty history
    kWrongSignature,  // not our file: an empty history
    kTooShort,        // fewer than 8 bytes
};
// Reads the 8-byte header; `count` is the count the file claims.
HeaderStatus ReadHeader(const void* data, size_t size, int32_t& count);

// The most records ever read from one file: a list of this many rows stays quick to show, and a
// file of any size, damaged or hostile, cannot make the program reserve more than about 15 MB.
constexpr size_t kMaxRecords = 100000;

// Which records of a file of `fileSize` bytes that claims `count` records are read: `count` from
// record `first` on. Only whole records present, at most kMaxRecords of them, the newest (last)
// ones when there are more.
struct ReadPlan {
    uint64_t first = 0;
    size_t count = 0;
};
ReadPlan RecordsToRead(int32_t count, uint64_t fileSize);

// Appends `count` whole records that follow each other at `records`. A field's text ends at its
// first zero byte, or with the field when it has none; it never reaches into the next field.
void AppendRecords(const void* records, size_t count, HistoryRows& rows);

// The rows of a whole file: none for a wrong signature or a count below 1; the records
// RecordsToRead names (a count larger than the file gives the whole records present).
// Returns the number of rows the file claimed (0 when it is not a history file).
int32_t Decode(const void* data, size_t size, HistoryRows& rows);

}  // namespace HistoryFile
