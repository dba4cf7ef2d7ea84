#include "dialogs/configure_rules.h"

#include <gtest/gtest.h>

namespace {

using namespace ConfigureRules;

TEST(ConfigureRules, ModifiersBecomeHotKeyFlagsAndBack) {
    // Alt 1 <-> 4, Control 2 <-> 2, Shift 4 <-> 1.
    EXPECT_EQ(HotKeyFlagsFromModifiers(0), 0);
    EXPECT_EQ(HotKeyFlagsFromModifiers(1), 4);
    EXPECT_EQ(HotKeyFlagsFromModifiers(2), 2);
    EXPECT_EQ(HotKeyFlagsFromModifiers(4), 1);
    EXPECT_EQ(HotKeyFlagsFromModifiers(1 | 4), 4 | 1);
    EXPECT_EQ(HotKeyFlagsFromModifiers(2 | 4), 2 | 1);
    EXPECT_EQ(HotKeyFlagsFromModifiers(8), 0);  // the Win key has no flag
    EXPECT_EQ(ModifiersFromHotKeyFlags(4), 1);
    EXPECT_EQ(ModifiersFromHotKeyFlags(2), 2);
    EXPECT_EQ(ModifiersFromHotKeyFlags(1), 4);
    EXPECT_EQ(ModifiersFromHotKeyFlags(2 | 1), 2 | 4);
    EXPECT_EQ(ModifiersFromHotKeyFlags(8), 0);          // the extended-key flag is dropped
    EXPECT_EQ(ModifiersFromHotKeyFlags(8 | 4 | 2), 1 | 2);
    for (uint16_t modifiers = 0; modifiers < 8; ++modifiers)
        EXPECT_EQ(ModifiersFromHotKeyFlags(HotKeyFlagsFromModifiers(modifiers)), modifiers);
}

TEST(ConfigureRules, BaseNameRefusesEachOfNineCharacters) {
    const std::string forbidden = "\"/\\?*><|:";
    ASSERT_EQ(forbidden, kForbiddenBaseNameCharacters);
    for (char c : forbidden) {
        EXPECT_EQ(ForbiddenCharacterIn(std::string("shot") + c), c) << c;
        EXPECT_EQ(ForbiddenCharacterIn(std::string(1, c) + "shot"), c) << c;
    }
    EXPECT_EQ(ForbiddenCharacterIn(""), 0);
    EXPECT_EQ(ForbiddenCharacterIn("Kelvane_ 01.-+()[]{}'&%$#@!~"), 0);
    // Looked for in the order of the list: the double quote is found before the colon.
    EXPECT_EQ(ForbiddenCharacterIn("a:b\"c"), '"');
    EXPECT_EQ(ForbiddenCharacterIn("a|b?c"), '?');
}

TEST(ConfigureRules, DirectoryGetsItsBackslashAndMustFitTheFile) {
    EXPECT_EQ(DirectoryToStore("c:\\shots", true), "c:\\shots\\");
    EXPECT_EQ(DirectoryToStore("c:\\shots\\", true), "c:\\shots\\");
    EXPECT_EQ(DirectoryToStore("c:\\shots", false), "");
    EXPECT_EQ(DirectoryToStore("", true), "");
    // 259 characters fit the 260-byte field with its zero byte; 260 do not.
    std::string fits = "c:\\" + std::string(255, 'd');  // 258, then the backslash
    EXPECT_EQ(DirectoryToStore(fits, true).size(), 259u);
    EXPECT_EQ(DirectoryToStore(fits + "\\", true).size(), 259u);
    EXPECT_EQ(DirectoryToStore(fits + "d", true), "");        // 259 + backslash = 260
    EXPECT_EQ(DirectoryToStore(fits + "d\\", true), "");      // already 260
}

TEST(ConfigureRules, CaptureModeRadios) {
    CapturePageValues page;
    for (int mode = 1; mode <= 6; ++mode) {
        SetCaptureRadios(page, mode);
        EXPECT_EQ(CaptureModeFromRadios(page, 99), mode);
    }
    SetCaptureRadios(page, 7);  // a damaged file's mode checks nothing, and stays
    EXPECT_EQ(page.fullScreenRadio + page.activeWindowRadio + page.windowControlRadio +
                  page.rectangleRadio + page.directXRadio + page.monitorRadio, -6);
    EXPECT_EQ(CaptureModeFromRadios(page, 7), 7);
    // With more than one checked, the first in the order 1, 2, 3, 4, 5 wins.
    page.directXRadio = kRadioChecked;
    page.activeWindowRadio = kRadioChecked;
    EXPECT_EQ(CaptureModeFromRadios(page, 3), 2);
    // The monitor under the pointer comes last: it never hides an older mode checked beside it.
    SetCaptureRadios(page, 6);
    EXPECT_EQ(page.monitorRadio, kRadioChecked);
    page.fullScreenRadio = kRadioChecked;
    EXPECT_EQ(CaptureModeFromRadios(page, 3), 1);
}

TEST(ConfigureRules, DelayAndPointerGoThroughThePage) {
    CaptureSettings s;
    s.delaySeconds = 10;
    s.includePointer = 1;
    PageValues pages = CopyIn(s);
    EXPECT_EQ(pages.capture.delayChoice, 4);
    EXPECT_EQ(pages.capture.includePointer, 1);
    pages.capture.delayChoice = 2;
    pages.capture.includePointer = 0;
    TakeBack(pages, true, s);
    EXPECT_EQ(s.delaySeconds, 3);
    EXPECT_EQ(s.includePointer, 0);
    pages.capture.delayChoice = -1;  // the combo with nothing chosen
    TakeBack(pages, true, s);
    EXPECT_EQ(s.delaySeconds, 0);
}

CaptureSettings Unusual() {
    CaptureSettings s;
    s.hotKeyCode = 0x78;
    s.hotKeyModifiers = 1 | 2;  // Alt + Control
    s.captureMode = 4;
    s.playSound = 0;
    s.runAtStartup = 1;
    s.saveMode = 2;
    s.saveDirectory = "d:\\old\\";
    s.baseName = "old_";
    s.nextNumber = 1500;
    s.fileFormat = 1;
    s.jpegQuality = 40;
    s.jpegSmoothing = 1;
    s.delaySeconds = 5;
    s.includePointer = 1;
    return s;
}

TEST(ConfigureRules, UntouchedPagesGiveTheSettingsBack) {
    const CaptureSettings before = Unusual();
    PageValues pages = CopyIn(before);
    EXPECT_EQ(pages.capture.hotKeyFlags, 4 | 2);
    EXPECT_EQ(pages.capture.rectangleRadio, kRadioChecked);
    EXPECT_EQ(pages.save.autoSaveRadio, kRadioChecked);
    EXPECT_EQ(pages.save.saveAsRadio, kRadioUnchecked);
    CaptureSettings after = before;
    TakeBackOutcome outcome = TakeBack(pages, true, after);
    EXPECT_FALSE(outcome.directoryRefused || outcome.baseNameRefused);
    EXPECT_EQ(after, before);
}

TEST(ConfigureRules, RefusedDirectoryAndBaseNameKeepTheirOldValuesOnly) {
    const CaptureSettings before = Unusual();
    PageValues pages = CopyIn(before);
    pages.save.saveDirectory = "e:\\gone";
    pages.save.baseName = "a:b";
    pages.save.nextNumber = 7;
    pages.capture.playSound = 1;
    CaptureSettings after = before;
    TakeBackOutcome outcome = TakeBack(pages, false, after);
    EXPECT_TRUE(outcome.directoryRefused);
    EXPECT_TRUE(outcome.baseNameRefused);
    EXPECT_EQ(after.saveDirectory, "d:\\old\\");
    EXPECT_EQ(after.baseName, "old_");
    EXPECT_EQ(after.nextNumber, 7);  // the rest is still taken
    EXPECT_EQ(after.playSound, 1);

    pages.save.saveDirectory = "e:\\new";
    pages.save.baseName = "";
    outcome = TakeBack(pages, true, after);
    EXPECT_FALSE(outcome.directoryRefused || outcome.baseNameRefused);
    EXPECT_EQ(after.saveDirectory, "e:\\new\\");
    EXPECT_EQ(after.baseName, "");
}

TEST(ConfigureRules, TakeBackConvertsAndNormalises) {
    CaptureSettings s = Unusual();
    PageValues pages = CopyIn(s);
    pages.capture.hotKeyFlags = 8 | 1;  // extended + Shift
    pages.capture.hotKeyCode = 0;
    pages.capture.showInfoDialog = 2;   // any non-zero check state is a 1
    pages.capture.rectangleRadio = kRadioUnchecked;
    pages.save.saveAsRadio = kRadioUnchecked;
    pages.save.autoSaveRadio = kRadioUnchecked;
    TakeBack(pages, true, s);
    EXPECT_EQ(s.hotKeyModifiers, 4);
    EXPECT_EQ(s.hotKeyCode, 0);
    EXPECT_EQ(s.showInfoDialog, 1);
    EXPECT_EQ(s.captureMode, 4);  // no radio checked: the mode stays
    EXPECT_EQ(s.saveMode, 2);     // neither saving radio: the mode stays

    pages.save.saveAsRadio = kRadioChecked;
    TakeBack(pages, true, s);
    EXPECT_EQ(s.saveMode, 1);
    pages.save.autoSaveRadio = kRadioChecked;  // both: auto-save wins
    TakeBack(pages, true, s);
    EXPECT_EQ(s.saveMode, 2);
}

TEST(ConfigureRules, JpegOptionsAreTakenOnlyForJpeg) {
    CaptureSettings s = Unusual();
    PageValues pages = CopyIn(s);
    pages.save.jpegQuality = 90;
    pages.save.jpegGrayscale = 1;
    pages.save.fileFormat = 0;
    TakeBack(pages, true, s);
    EXPECT_EQ(s.fileFormat, 0);
    EXPECT_EQ(s.jpegQuality, 40);
    EXPECT_EQ(s.jpegGrayscale, 0);
    pages.save.fileFormat = 2;
    TakeBack(pages, true, s);
    EXPECT_EQ(s.jpegQuality, 40);
    pages.save.fileFormat = -1;  // no selection: the stored format stays, options dropped
    TakeBack(pages, true, s);
    EXPECT_EQ(s.fileFormat, 2);
    EXPECT_EQ(s.jpegQuality, 40);
    pages.save.fileFormat = 9;  // nor is any value past the last format ever stored
    TakeBack(pages, true, s);
    EXPECT_EQ(s.fileFormat, 2);
    pages.save.fileFormat = 1;
    TakeBack(pages, true, s);
    EXPECT_EQ(s.jpegQuality, 90);
    EXPECT_EQ(s.jpegGrayscale, 1);
    EXPECT_EQ(s.jpegSmoothing, 1);
}

}  // namespace
