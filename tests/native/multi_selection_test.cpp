// The selection an Open dialog with multiple selection returns, and the names of added links.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "history/multi_selection.h"

namespace {

using Paths = std::vector<std::string>;

Paths ParseText(const std::string& buffer) { return MultiSelection::Parse(buffer.data(), buffer.size()); }

TEST(MultiSelection, OneFileIsOneFullPath) {
    EXPECT_EQ(ParseText(std::string("c:\\shots\\a.bmp\0\0", 17)), Paths{"c:\\shots\\a.bmp"});
}

TEST(MultiSelection, FolderThenNamesInTheirOrder) {
    std::string buffer("c:\\shots\0b.gif\0a.bmp\0c d.jpg\0\0", 30);
    EXPECT_EQ(ParseText(buffer), (Paths{"c:\\shots\\b.gif", "c:\\shots\\a.bmp", "c:\\shots\\c d.jpg"}));
    // The root folder already ends with its backslash.
    EXPECT_EQ(ParseText(std::string("c:\\\0a.bmp\0b.bmp\0\0", 17)), (Paths{"c:\\a.bmp", "c:\\b.bmp"}));
    // A name typed with its own folder keeps it.
    EXPECT_EQ(ParseText(std::string("c:\\x\0d:\\y\\z.bmp\0w.bmp\0\0", 23)), (Paths{"d:\\y\\z.bmp", "c:\\x\\w.bmp"}));
}

TEST(MultiSelection, SelectionsFarBeyondOnePathLength) {
    // What a buffer of 260 characters could never hold: 300 names in a deep folder.
    std::string folder = "c:\\" + std::string(200, 'f');
    std::string buffer = folder + '\0';
    Paths expected;
    for (int i = 0; i < 300; ++i) {
        std::string name = "capture_" + std::to_string(i) + ".bmp";
        buffer += name + '\0';
        expected.push_back(folder + "\\" + name);
    }
    buffer += '\0';
    ASSERT_GT(buffer.size(), 4000u);
    EXPECT_EQ(ParseText(buffer), expected);
}

TEST(MultiSelection, NeverReadsPastTheBuffer) {
    EXPECT_EQ(ParseText(""), Paths{});
    EXPECT_EQ(MultiSelection::Parse(nullptr, 100), Paths{});
    EXPECT_EQ(ParseText(std::string("\0a\0", 3)), Paths{});  // an empty first text ends the list
    // No final terminators: the last text ends with the buffer.
    EXPECT_EQ(ParseText("c:\\a.bmp"), Paths{"c:\\a.bmp"});
    EXPECT_EQ(ParseText(std::string("c:\\x\0a.bmp\0b.b", 15)), (Paths{"c:\\x\\a.bmp", "c:\\x\\b.b"}));
}

TEST(MultiSelection, LinkNameIsTheTextAfterTheLastBackslash) {
    EXPECT_EQ(MultiSelection::LinkName("c:\\shots\\a.bmp"), "a.bmp");
    EXPECT_EQ(MultiSelection::LinkName("plain.gif"), "plain.gif");
    EXPECT_EQ(MultiSelection::LinkName("c:\\dir\\"), "");
}

}  // namespace
