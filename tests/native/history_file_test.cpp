// save.dat's layout, the rows behind the history list, and the open request sent to the view.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "history/history_file_format.h"
#include "history/history_rows.h"
#include "history/open_request.h"

namespace {

uint32_t U32(const std::string& d, size_t at) {
    return uint8_t(d[at]) | uint8_t(d[at + 1]) << 8 | uint8_t(d[at + 2]) << 16 | uint32_t(uint8_t(d[at + 3])) << 24;
}

std::string Header(int32_t signature, int32_t count) {
    std::string h(8, '\0');
    for (int i = 0; i < 4; ++i) {
        h[i] = char(uint32_t(signature) >> (8 * i));
        h[4 + i] = char(uint32_t(count) >> (8 * i));
    }
    return h;
}

// One record written by hand from the documented layout.
std::string Record(const std::string& name, const std::string& location, const std::string& time) {
    std::string r(410, '\0');
    r.replace(0, name.size(), name);
    r.replace(50, location.size(), location);
    r.replace(310, time.size(), time);
    return r;
}

TEST(HistoryFile, EmptyListIsEightBytes) {
    HistoryRows rows;
    std::string file = HistoryFile::Encode(rows);
    ASSERT_EQ(file.size(), 8u);
    EXPECT_EQ(U32(file, 0), 101u);
    EXPECT_EQ(U32(file, 4), 0u);
}

TEST(HistoryFile, ThreeRowsAre1238BytesInTheDocumentedLayout) {
    HistoryRows rows;
    rows.Append("Kelvane_001.bmp", "c:\\CaptureImage\\Kelvane_001.bmp", "2002/07/15 09:05:03");
    rows.Append("b.gif", "d:\\b.gif", "2002/07/15 09:05:04");
    rows.Append("c.jpg", "d:\\x\\c.jpg", "2002/07/15 09:05:05");
    std::string file = HistoryFile::Encode(rows);
    ASSERT_EQ(file.size(), 1238u);
    EXPECT_EQ(U32(file, 4), 3u);
    EXPECT_EQ(file.substr(8, 410), Record("Kelvane_001.bmp", "c:\\CaptureImage\\Kelvane_001.bmp", "2002/07/15 09:05:03"));
    EXPECT_EQ(file.substr(8 + 820, 410), Record("c.jpg", "d:\\x\\c.jpg", "2002/07/15 09:05:05"));

    HistoryRows back;
    EXPECT_EQ(HistoryFile::Decode(file.data(), file.size(), back), 3);
    ASSERT_EQ(back.Count(), 3u);
    EXPECT_EQ(back.Name(1), "b.gif");
    EXPECT_EQ(back.Location(2), "d:\\x\\c.jpg");
    EXPECT_EQ(back.Time(0), "2002/07/15 09:05:03");
}

TEST(HistoryFile, LongTextsAreCutTo49And259And99Characters) {
    HistoryRows rows;
    const std::string name(60, 'n'), location(300, 'l'), time(120, 't');
    rows.Append(name, location, time);
    EXPECT_EQ(rows.Name(0), name);  // the list shows the whole text until it is saved
    std::string file = HistoryFile::Encode(rows);
    ASSERT_EQ(file.size(), 418u);
    EXPECT_EQ(file.substr(8, 50), std::string(49, 'n') + '\0');
    EXPECT_EQ(file.substr(58, 260), std::string(259, 'l') + '\0');
    EXPECT_EQ(file.substr(318, 100), std::string(99, 't') + '\0');

    HistoryRows back;
    HistoryFile::Decode(file.data(), file.size(), back);
    EXPECT_EQ(back.Name(0), std::string(49, 'n'));
    EXPECT_EQ(back.Location(0), std::string(259, 'l'));
    EXPECT_EQ(back.Time(0), std::string(99, 't'));
}

TEST(HistoryFile, FieldWithoutTerminatorEndsWithItsField) {
    std::string record = Record("", "c:\\a.bmp", "2002/01/01");
    record.replace(0, 50, std::string(50, 'x'));    // no zero byte in the name field
    record.replace(321, 89, std::string(89, 'y'));  // garbage after the time's zero byte
    std::string file = Header(101, 1) + record;
    HistoryRows rows;
    HistoryFile::Decode(file.data(), file.size(), rows);
    ASSERT_EQ(rows.Count(), 1u);
    EXPECT_EQ(rows.Name(0), std::string(50, 'x'));  // the whole field, nothing of the next
    EXPECT_EQ(rows.Location(0), "c:\\a.bmp");
    EXPECT_EQ(rows.Time(0), "2002/01/01");  // up to the first zero byte only
    // Written back, the name loses its fiftieth character and the garbage is gone.
    std::string again = HistoryFile::Encode(rows);
    EXPECT_EQ(again.substr(8, 50), std::string(49, 'x') + '\0');
    EXPECT_EQ(again.substr(318, 100), std::string("2002/01/01") + std::string(90, '\0'));
}

TEST(HistoryFile, ForeignOrEmptyFilesGiveNoRows) {
    const std::string body = Record("a", "b", "c");
    HistoryRows rows;
    std::string wrong = Header(100, 1) + body;
    EXPECT_EQ(HistoryFile::Decode(wrong.data(), wrong.size(), rows), 0);
    std::string zero = Header(101, 0) + body, negative = Header(101, -5) + body;
    HistoryFile::Decode(zero.data(), zero.size(), rows);
    HistoryFile::Decode(negative.data(), negative.size(), rows);
    HistoryFile::Decode("\x65\0\0\0", 4, rows);  // shorter than the header
    HistoryFile::Decode(nullptr, 0, rows);
    EXPECT_EQ(rows.Count(), 0u);
    int32_t count = 7;
    EXPECT_EQ(HistoryFile::ReadHeader(wrong.data(), wrong.size(), count), HistoryFile::HeaderStatus::kWrongSignature);
    EXPECT_EQ(HistoryFile::ReadHeader(negative.data(), 8, count), HistoryFile::HeaderStatus::kNoRecords);
    EXPECT_EQ(HistoryFile::ReadHeader(body.data(), 3, count), HistoryFile::HeaderStatus::kTooShort);
}

TEST(HistoryFile, CountLargerThanTheFileGivesTheWholeRecordsPresent) {
    std::string file = Header(101, 2147483647) + Record("one", "c:\\1", "t1") + Record("two", "c:\\2", "t2");
    file += Record("three", "c:\\3", "t3").substr(0, 200);  // a record cut short
    HistoryRows rows;
    EXPECT_EQ(HistoryFile::Decode(file.data(), file.size(), rows), 2147483647);
    ASSERT_EQ(rows.Count(), 2u);
    EXPECT_EQ(rows.Name(1), "two");
    // A count smaller than the file reads only that many.
    std::string shorter = Header(101, 1) + Record("one", "c:\\1", "t1") + Record("two", "c:\\2", "t2");
    HistoryRows one;
    HistoryFile::Decode(shorter.data(), shorter.size(), one);
    EXPECT_EQ(one.Count(), 1u);
}

TEST(HistoryFile, ReadsAtMostTheNewestRecordsItsBoundAllows) {
    using HistoryFile::kMaxRecords;
    // Whatever the count and the file size claim, no more than the bound is ever read; the
    // records kept are the last ones, the newest.
    auto plan = HistoryFile::RecordsToRead(2147483647, 8 + uint64_t(3000000000));
    EXPECT_EQ(plan.count, kMaxRecords);
    EXPECT_EQ(plan.first, 3000000000u / 410 - kMaxRecords);
    plan = HistoryFile::RecordsToRead(5, 8 + 410 * 7);
    EXPECT_EQ(plan.first, 0u);
    EXPECT_EQ(plan.count, 5u);
    plan = HistoryFile::RecordsToRead(9, 8 + 410 * 7 + 409);
    EXPECT_EQ(plan.count, 7u);
    plan = HistoryFile::RecordsToRead(-1, 8 + 410);
    EXPECT_EQ(plan.count, 0u);
    plan = HistoryFile::RecordsToRead(3, 7);  // shorter than its header
    EXPECT_EQ(plan.count, 0u);

    // A file one record over the bound: its oldest record is the one left out.
    std::string file = Header(101, int32_t(kMaxRecords + 1));
    file.reserve(8 + (kMaxRecords + 1) * 410);
    file += Record("oldest", "c:\\0", "t");
    for (size_t i = 1; i < kMaxRecords; ++i) file += Record("", "", "");
    file += Record("newest", "c:\\n", "t");
    HistoryRows rows;
    EXPECT_EQ(HistoryFile::Decode(file.data(), file.size(), rows), int32_t(kMaxRecords + 1));
    ASSERT_EQ(rows.Count(), kMaxRecords);
    EXPECT_EQ(rows.Name(0), "");
    EXPECT_EQ(rows.Name(kMaxRecords - 1), "newest");
}

TEST(HistoryRows, RemovingKeepsOrderAndTexts) {
    HistoryRows rows;
    // Enough rows that removing most of them compacts the text block.
    for (int i = 0; i < 3000; ++i)
        rows.Append("name" + std::to_string(i), "c:\\shots\\file" + std::to_string(i) + ".bmp", "time" + std::to_string(i));
    for (int i = 2999; i >= 0; --i)
        if (i % 3 != 1) rows.Remove(size_t(i));
    ASSERT_EQ(rows.Count(), 1000u);
    for (size_t r = 0; r < rows.Count(); ++r) {
        const std::string i = std::to_string(3 * r + 1);
        ASSERT_EQ(rows.Name(r), "name" + i);
        ASSERT_EQ(rows.Location(r), "c:\\shots\\file" + i + ".bmp");
        ASSERT_EQ(rows.Time(r), "time" + i);
    }
    rows.Remove(5000);  // no such row: nothing happens
    EXPECT_EQ(rows.Count(), 1000u);
    rows.Append("same", "c:\\same.bmp", "t");
    rows.Append("same", "c:\\same.bmp", "t");  // one file twice gives two rows
    EXPECT_EQ(rows.Count(), 1002u);
}

TEST(HistoryRows, TimeTextFormat) {
    EXPECT_EQ(FormatHistoryTime(2002, 7, 15, 9, 5, 3), "2002/07/15 09:05:03");
    EXPECT_EQ(FormatHistoryTime(2026, 12, 31, 23, 59, 59), "2026/12/31 23:59:59");
}

TEST(OpenRequest, BlockHoldsThePathAndZeros) {
    auto block = OpenRequest::Make("c:\\a.bmp");
    EXPECT_EQ(block.size(), 260u);
    EXPECT_STREQ(block.data(), "c:\\a.bmp");
    EXPECT_EQ(block[259], '\0');
    auto longer = OpenRequest::Make(std::string(400, 'p'));
    EXPECT_EQ(std::string(longer.data()), std::string(259, 'p'));
}

TEST(OpenRequest, ReadsOnlyWithinTheDataAndNeedsItsTerminator) {
    std::string path;
    const char data[] = {'c', ':', '\\', 'x', '\0', 'y', 'z'};
    ASSERT_TRUE(OpenRequest::Read(data, sizeof data, path));
    EXPECT_EQ(path, "c:\\x");
    // Without a zero byte within the size given, nothing is read beyond it and nothing opens.
    path = "unchanged";
    EXPECT_FALSE(OpenRequest::Read(data, 4, path));
    EXPECT_EQ(path, "unchanged");
    EXPECT_FALSE(OpenRequest::Read(nullptr, 260, path));
    EXPECT_FALSE(OpenRequest::Read(data, 0, path));
    ASSERT_TRUE(OpenRequest::Read("", 1, path));
    EXPECT_EQ(path, "");
}

TEST(OpenRequest, APathLongerThanTheBlockIsRefused) {
    // Any program may send a block of any size: a "path" of megabytes is no path to open.
    std::string huge(4 * 1024 * 1024, 'p');
    huge.back() = '\0';
    std::string path = "unchanged";
    EXPECT_FALSE(OpenRequest::Read(huge.data(), huge.size(), path));
    EXPECT_EQ(path, "unchanged");
    std::string block(400, 'q');
    block[OpenRequest::kSize - 1] = '\0';  // 259 characters and the zero: the longest path
    ASSERT_TRUE(OpenRequest::Read(block.data(), block.size(), path));
    EXPECT_EQ(path, std::string(OpenRequest::kSize - 1, 'q'));
    block[OpenRequest::kSize - 1] = 'q';
    block[OpenRequest::kSize] = '\0';  // 260 characters
    EXPECT_FALSE(OpenRequest::Read(block.data(), block.size(), path));
}

}  // namespace
