#pragma once
// Replacing a file we own without ever leaving it damaged: the new content is written beside it
// under another name, flushed, and only then moved over the old file in one step.
#include <cstddef>
#include <string>

namespace AtomicFile {

// True when `path` now holds exactly `data`. On any failure (folder not writable, disk full) the
// old file is left as it was, no temporary file remains, and the system's last error says why.
bool Replace(const std::string& path, const void* data, size_t size);

// Reads at most `limit` bytes of `path` into `out`; false when the file cannot be opened or read.
bool Read(const std::string& path, std::string& out, size_t limit);

}  // namespace AtomicFile
