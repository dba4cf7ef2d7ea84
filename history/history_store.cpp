#include "history/history_store.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/atomic_file.h"
#include "app/settings_location.h"
#include "history/history_file_format.h"

namespace HistoryStore {

namespace {

bool ReadExactly(HANDLE file, void* into, DWORD size) {
    DWORD got = 0;
    return ::ReadFile(file, into, size, &got, nullptr) && got == size;
}

}  // namespace

std::string FilePath() {
    return SettingsFilePath("save.dat");
}

bool Load(const std::string& path, HistoryRows& rows) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    unsigned char header[HistoryFile::kHeaderSize];
    int32_t count = 0;
    LARGE_INTEGER size{};
    if (ReadExactly(file, header, sizeof header) &&
        HistoryFile::ReadHeader(header, sizeof header, count) == HistoryFile::HeaderStatus::kRecords &&
        ::GetFileSizeEx(file, &size)) {
        // Only whole records that are really there, and never more than the bound: the size of a
        // file decides no allocation beyond it.
        const HistoryFile::ReadPlan plan = HistoryFile::RecordsToRead(count, uint64_t(size.QuadPart));
        LARGE_INTEGER start{};
        start.QuadPart = LONGLONG(HistoryFile::kHeaderSize + plan.first * HistoryFile::kRecordSize);
        uint64_t left = ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN) ? plan.count : 0;
        const size_t kBlockRecords = 1024;  // reads of 420 KB: a buffer that stays warm in the cache
        std::vector<char> block(size_t(std::min<uint64_t>(left, kBlockRecords)) * HistoryFile::kRecordSize);
        rows.Reserve(size_t(left), size_t(left) * 128);  // room for typical names and paths
        while (left > 0) {
            const size_t records = size_t(std::min<uint64_t>(left, kBlockRecords));
            DWORD got = 0;
            if (!::ReadFile(file, block.data(), static_cast<DWORD>(records * HistoryFile::kRecordSize), &got, nullptr))
                break;
            const size_t whole = got / HistoryFile::kRecordSize;
            HistoryFile::AppendRecords(block.data(), whole, rows);
            if (whole < records) break;  // the file shrank while we read it
            left -= records;
        }
    }
    ::CloseHandle(file);
    return true;
}

bool Save(const std::string& path, const HistoryRows& rows) {
    const std::string file = HistoryFile::Encode(rows);
    return AtomicFile::Replace(path, file.data(), file.size());
}

}  // namespace HistoryStore
