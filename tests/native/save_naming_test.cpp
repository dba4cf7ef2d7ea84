#include "imagefile/save_naming.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(std::string(ExtensionOf(3)), "");
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

}  // namespace
