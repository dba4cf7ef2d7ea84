#include "history/files_out/file_drop_block.h"

#include <gtest/gtest.h>

namespace {

using FileDropBlock::Make;
using FileDropBlock::Read;

TEST(FileDropBlock, HeaderThenEachPathThenAnEmptyText) {
    std::vector<uint8_t> block = Make({"c:\\a.bmp", "d:\\shots\\b c.gif"});
    const std::vector<uint8_t> header = {20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(block.size(), 20u + 9 + 17 + 1);
    EXPECT_EQ(std::vector<uint8_t>(block.begin(), block.begin() + 20), header) << "offset 20, ANSI, no point";
    EXPECT_EQ(std::string(block.begin() + 20, block.end()), std::string("c:\\a.bmp\0d:\\shots\\b c.gif\0\0", 27));
}

TEST(FileDropBlock, NoPathsGiveNoBlock) { EXPECT_TRUE(Make({}).empty()); }

TEST(FileDropBlock, ReadsWhatItMakesAndWideBlocksOfOthers) {
    const std::vector<std::string> paths = {"c:\\CaptureImage\\Kelvane_001.bmp", "z:\\tmp\\x y.jpg"};
    EXPECT_EQ(Read(Make(paths)), paths);
    // Another program's block: wide characters, the list after a longer header.
    std::vector<uint8_t> wide(24, 0);
    wide[0] = 24;
    wide[16] = 1;
    for (char c : std::string("c:\\w.png")) {
        wide.push_back(static_cast<uint8_t>(c));
        wide.push_back(0);
    }
    wide.insert(wide.end(), {0, 0, 0, 0});
    EXPECT_EQ(Read(wide), std::vector<std::string>{"c:\\w.png"});
}

TEST(FileDropBlock, DamagedBlocksGiveWhatIsWhole) {
    EXPECT_TRUE(Read({}).empty());
    EXPECT_TRUE(Read(std::vector<uint8_t>(19, 0)).empty());
    std::vector<uint8_t> pointsOutside = Make({"c:\\a.bmp"});
    pointsOutside[0] = 200;
    EXPECT_TRUE(Read(pointsOutside).empty());
    std::vector<uint8_t> unterminated = Make({"c:\\a.bmp"});
    unterminated.resize(unterminated.size() - 2);  // the path's zero byte and the list's end gone
    EXPECT_TRUE(Read(unterminated).empty());
}

TEST(FileDropBlock, ExplorerSelectsTheFileQuotedForSpaces) {
    EXPECT_EQ(FileDropBlock::ExplorerSelectArguments("c:\\My Shots\\a.bmp"), "/select,\"c:\\My Shots\\a.bmp\"");
}

}  // namespace
