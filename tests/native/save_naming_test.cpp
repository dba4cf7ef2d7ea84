#include "imagefile/save_naming.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace SaveNaming;

TEST(SaveNaming, NumberTextPadsBelowOneHundred) {
    EXPECT_EQ(NumberText(1), "001");
    EXPECT_EQ(NumberText(9), "009");
    EXPECT_EQ(NumberText(10), "010");
    EXPECT_EQ(NumberText(42), "042");
    EXPECT_EQ(NumberText(99), "099");
    EXPECT_EQ(NumberText(100), "100");
    EXPECT_EQ(NumberText(1234), "1234");
    EXPECT_EQ(NumberText(0), "000");
    EXPECT_EQ(NumberText(-5), "00-5");  // negative numbers take the "00%d" form too
    EXPECT_EQ(NumberText(-2147483647 - 1), "00-2147483648");
    EXPECT_EQ(NumberText(2147483647), "2147483647");
}

TEST(SaveNaming, AutoNameJoinsFolderBaseAndNumber) {
    AutoName n = MakeAutoSaveName("c:\\CaptureImage\\", "Kelvane_", 1);
    EXPECT_EQ(n.path, "c:\\CaptureImage\\Kelvane_001");
    EXPECT_EQ(n.entryName, "Kelvane_001");
    EXPECT_EQ(std::string(ExtensionOf(kBmp)), ".bmp");
    EXPECT_EQ(std::string(ExtensionOf(kJpeg)), ".jpg");
    EXPECT_EQ(std::string(ExtensionOf(kGif)), ".gif");
    EXPECT_EQ(std::string(ExtensionOf(kPng)), ".png");
    EXPECT_EQ(kPng, 3);  // the value configure.dat stores
    EXPECT_EQ(std::string(ExtensionOf(4)), "");
    EXPECT_EQ(std::string(ExtensionOf(-1)), "");
}

TEST(SaveNaming, TitleAndExtensionOfTypedNames) {
    EXPECT_EQ(TitleOf("C:\\shots\\my.shot.jpg"), "my.shot");
    EXPECT_EQ(TitleOf("C:\\shots.d\\plain"), "plain");
    EXPECT_TRUE(HasExtension("C:\\a\\b.bmp"));
    EXPECT_FALSE(HasExtension("C:\\a.folder\\b"));
    EXPECT_FALSE(HasExtension("b"));
}

TEST(SaveNaming, FoldersToCreateOutermostFirst) {
    using V = std::vector<std::string>;
    EXPECT_EQ(FoldersToCreate("c:\\CaptureImage\\"), V{"c:\\CaptureImage"});
    EXPECT_EQ(FoldersToCreate("c:\\a\\b\\c\\"), (V{"c:\\a", "c:\\a\\b", "c:\\a\\b\\c"}));
    EXPECT_EQ(FoldersToCreate("c:\\"), V{});
    EXPECT_EQ(FoldersToCreate("\\\\server\\share\\x\\"), V{"\\\\server\\share\\x"});
    EXPECT_EQ(FoldersToCreate("\\\\server\\share\\"), V{});
    EXPECT_EQ(FoldersToCreate("relative\\dir\\"), (V{"relative", "relative\\dir"}));
}

TEST(SaveNaming, AutomaticNameSkipsFilesThatExist) {
    // A counter set back by the user meets files of earlier captures: none is overwritten.
    std::set<std::string> taken = {"c:\\s\\K_001.bmp", "c:\\s\\K_002.bmp", "c:\\s\\K_004.bmp",
                                   "c:\\s\\K_003.jpg"};
    std::vector<std::string> asked;
    auto exists = [&](const std::string& p) { asked.push_back(p); return taken.count(p) > 0; };
    FreeAutoName n = FirstFreeAutoSaveName("c:\\s\\", "K_", ".bmp", 1, exists);
    ASSERT_TRUE(n.found);
    EXPECT_EQ(n.number, 3);  // K_003.jpg is another format's file: .bmp 3 is free
    EXPECT_EQ(n.name.path, "c:\\s\\K_003");
    EXPECT_EQ(n.name.entryName, "K_003");
    EXPECT_EQ(n.nextNumber, 4);  // the next save still skips 4 then
    EXPECT_EQ(asked, (std::vector<std::string>{"c:\\s\\K_001.bmp", "c:\\s\\K_002.bmp", "c:\\s\\K_003.bmp"}));

    n = FirstFreeAutoSaveName("c:\\s\\", "K_", ".bmp", 4, exists);
    EXPECT_EQ(n.number, 5);
    EXPECT_EQ(n.nextNumber, 6);
    // A free first name is used as it is, and numbers count on from there.
    n = FirstFreeAutoSaveName("c:\\s\\", "K_", ".gif", 1, exists);
    EXPECT_EQ(n.number, 1);
    EXPECT_EQ(n.nextNumber, 2);
}

TEST(SaveNaming, NumbersStartAgainAtOneAfterTheLargest) {
    EXPECT_EQ(NextNumber(1), 2);
    EXPECT_EQ(NextNumber(2147483646), 2147483647);
    EXPECT_EQ(NextNumber(2147483647), 1);  // never negative
    EXPECT_EQ(NextNumber(-3), -2);         // a number the user set below zero counts up as it is

    std::set<std::string> taken = {"K_2147483647.bmp", "K_001.bmp"};
    auto exists = [&](const std::string& p) { return taken.count(p) > 0; };
    FreeAutoName n = FirstFreeAutoSaveName("", "K_", ".bmp", 2147483647, exists);
    EXPECT_EQ(n.number, 2);
    EXPECT_EQ(n.nextNumber, 3);
    n = FirstFreeAutoSaveName("", "K_", ".bmp", 2147483646, exists);
    EXPECT_EQ(n.number, 2147483646);
    EXPECT_EQ(n.nextNumber, 2147483647);
}

TEST(SaveNaming, EveryNameTakenIsReportedNotOverwritten) {
    int calls = 0;
    FreeAutoName n = FirstFreeAutoSaveName("", "K_", ".bmp", 7, [&](const std::string&) { ++calls; return true; }, 50);
    EXPECT_FALSE(n.found);
    EXPECT_EQ(calls, 50);
    EXPECT_EQ(n.nextNumber, 57);
}

}  // namespace
