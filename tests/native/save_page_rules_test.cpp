#include "dialogs/save_page_rules.h"

#include <gtest/gtest.h>

namespace {

using namespace SavePageRules;
constexpr Enable U = Enable::kUnchanged, On = Enable::kOn, Off = Enable::kOff;

TEST(SavePageRules, SettingFollowsTheSelection) {
    EXPECT_EQ(SettingForSelection(0), Off);
    EXPECT_EQ(SettingForSelection(1), On);
    EXPECT_EQ(SettingForSelection(2), Off);
    EXPECT_EQ(SettingForSelection(3), Off);
    EXPECT_EQ(SettingForSelection(-1), U);
}

TEST(SavePageRules, EnablingWhenThePageOpens) {
    // Saving off: everything but the three check boxes is off, whatever the radios say.
    for (bool autoSave : {false, true})
        for (bool saveAs : {false, true})
            EXPECT_EQ(AtInitialisation(false, autoSave, saveAs, 1), (Enabling{Off, Off, Off, Off}));
    EXPECT_EQ(AtInitialisation(true, true, false, 1), (Enabling{On, On, On, On}));
    EXPECT_EQ(AtInitialisation(true, true, true, 0), (Enabling{On, On, On, Off}));  // auto-save first
    EXPECT_EQ(AtInitialisation(true, true, false, -1), (Enabling{On, On, On, U}));
    // "Save as" leaves the counter as the template made it (enabled).
    EXPECT_EQ(AtInitialisation(true, false, true, 1), (Enabling{On, Off, U, Off}));
    EXPECT_EQ(AtInitialisation(true, false, false, 1), (Enabling{On, U, U, U}));
}

TEST(SavePageRules, EnablingAfterClicks) {
    EXPECT_EQ(OnAutoSaveClicked(1), (Enabling{U, On, On, On}));
    EXPECT_EQ(OnAutoSaveClicked(2), (Enabling{U, On, On, Off}));
    EXPECT_EQ(OnSaveAsClicked(), (Enabling{U, Off, Off, Off}));
    EXPECT_EQ(OnSaveToFileClicked(true, true, 0), (Enabling{On, On, On, Off}));
    EXPECT_EQ(OnSaveToFileClicked(true, false, 1), (Enabling{On, Off, U, Off}));
    EXPECT_EQ(OnSaveToFileClicked(false, true, 1), (Enabling{Off, Off, Off, Off}));
    EXPECT_EQ(OnFormatChanged(1), (Enabling{U, U, U, On}));
    EXPECT_EQ(OnFormatChanged(-1), (Enabling{U, U, U, U}));
}

TEST(SavePageRules, SampleUsesTheTextsAsTyped) {
    std::string directory = "c:\\CaptureImage";
    EXPECT_EQ(SampleFileName(directory, "Kelvane_", "1", "bmp"), "c:\\CaptureImage\\Kelvane_1.bmp");
    EXPECT_EQ(directory, "c:\\CaptureImage\\");  // the member gains the backslash
    EXPECT_EQ(SampleFileName(directory, "Kelvane_", "1", "bmp"), "c:\\CaptureImage\\Kelvane_1.bmp");
    std::string empty;
    EXPECT_EQ(SampleFileName(empty, "", "", ""), "\\.");
    std::string d = "d:\\";
    EXPECT_EQ(SampleFileName(d, "x", "0042", "jpg"), "d:\\x0042.jpg");  // no zero-filling of its own
}

TEST(SavePageRules, StartNumberTakesTheFirstFourCharacters) {
    EXPECT_EQ(StartNumberFromText("1"), 1);
    EXPECT_EQ(StartNumberFromText("12345"), 1234);
    EXPECT_EQ(StartNumberFromText("0099"), 99);
    EXPECT_EQ(StartNumberFromText(""), 0);
    EXPECT_EQ(StartNumberFromText("-512"), -512);
    EXPECT_EQ(StartNumberFromText("12a4"), 12);
    EXPECT_EQ(StartNumberFromText("abc"), 0);
}

TEST(SavePageRules, SpinShowsOnlyItsRange) {
    EXPECT_TRUE(SpinCanShow(0));
    EXPECT_TRUE(SpinCanShow(999));
    EXPECT_FALSE(SpinCanShow(1000));
    EXPECT_FALSE(SpinCanShow(-1));
}

}  // namespace
