// Texts of the window chrome: where the help file is looked for, the failure messages, and copies
// into the fixed buffers of system records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "chrome/chrome_text.h"

using chrome_text::CopyBounded;
using chrome_text::HelpFilePath;

TEST(ChromeText, HelpFileSitsBesideTheProgram) {
    EXPECT_EQ(HelpFilePath("C:\\Program Files\\Tessaly\\Tessaly.exe"), "C:\\Program Files\\Tessaly\\Help.chm");
    EXPECT_EQ(HelpFilePath("Z:\\a.b\\c\\Tessaly.exe"), "Z:\\a.b\\c\\Help.chm");
    // Only backslashes separate folders in a module path; a drive root keeps its own backslash.
    EXPECT_EQ(HelpFilePath("C:\\Tessaly.exe"), "C:\\Help.chm");
    EXPECT_EQ(HelpFilePath("Tessaly.exe"), "\\Help.chm");
}

TEST(ChromeText, MessagesNameWhatFailed) {
    EXPECT_EQ(chrome_text::HelpMissingMessage("C:\\x\\Help.chm"), "Can't find help files:C:\\x\\Help.chm");
    EXPECT_EQ(chrome_text::LinkFailureMessage("mailto:someone@tessaly.example"),
              "Unable to open mailto:someone@tessaly.example.");
    EXPECT_EQ(chrome_text::LinkFailureMessage(""), "Unable to open .");
}

TEST(ChromeText, CopiesAreCutSoTheTerminatorFits) {
    char tip[64];
    std::memset(tip, 'x', sizeof tip);
    EXPECT_TRUE(CopyBounded(tip, sizeof tip, "Tessaly Screen Capture"));
    EXPECT_STREQ(tip, "Tessaly Screen Capture");

    const std::string fits(63, 'a');
    EXPECT_TRUE(CopyBounded(tip, sizeof tip, fits));
    EXPECT_EQ(std::string(tip), fits);

    char guarded[80];
    std::memset(guarded, '#', sizeof guarded);
    EXPECT_FALSE(CopyBounded(guarded, 64, std::string(100, 'b')));
    EXPECT_EQ(std::string(guarded), std::string(63, 'b'));
    EXPECT_EQ(guarded[64], '#') << "wrote past the buffer";

    char none = '#';
    EXPECT_FALSE(CopyBounded(&none, 0, "x"));
    EXPECT_EQ(none, '#');
}
