#pragma once
// save.dat on disk: where it lives, reading it into rows, and replacing it without ever leaving a
// damaged file behind.
#include <string>

#include "history/history_rows.h"

namespace HistoryStore {

// save.dat in the folder SettingsFilePath chooses (beside the executable where it can be written).
std::string FilePath();

// Appends the rows of the file at `path`. A missing or unreadable file, a wrong signature or a
// count below 1 add nothing; a file shorter than its count gives the whole records it holds; a
// file of more than HistoryFile::kMaxRecords records gives its newest that many.
// False when the file could not be opened.
bool Load(const std::string& path, HistoryRows& rows);

// Replaces the file with `rows` (written beside it, then moved over it): a failure or a crash
// part-way leaves the previous file whole. False when the file could not be written.
bool Save(const std::string& path, const HistoryRows& rows);

}  // namespace HistoryStore
