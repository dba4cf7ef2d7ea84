#include "app/settings_file_format.h"
#include "app/settings_ranges.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using namespace SettingsFileFormat;

// A file built byte by byte from the documented offsets, independent of the encoder.
std::vector<uint8_t> HandBuiltFile() {
    std::vector<uint8_t> f(557, 0xEE);  // filler after text terminators is not significant
    auto put = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        std::memcpy(&f[at], bytes.begin(), bytes.size());
    };
    put(0, {0x41, 0x00});                    // hotKeyCode 'A'
    put(2, {0x06, 0x00});                    // Control+Shift
    put(4, {0x04, 0x00, 0x00, 0x00});        // captureMode 4
    put(8, {0}); put(9, {1}); put(10, {0}); put(11, {1}); put(12, {1}); put(13, {0});
    put(14, {0x02, 0x00, 0x00, 0x00});       // saveMode 2
    std::memcpy(&f[18], "d:\\shots\\", 10);  // with its zero byte
    std::memcpy(&f[278], "Frame", 6);
    put(538, {0x39, 0x30, 0x00, 0x00});      // nextNumber 12345
    put(542, {0x02, 0x00, 0x00, 0x00});      // GIF
    put(546, {1}); put(547, {0}); put(548, {1});
    put(549, {0x5A, 0x00, 0x00, 0x00});      // quality 90
    put(553, {0x11, 0x22, 0x33, 0x00});      // COLORREF
    return f;
}

CaptureSettings HandBuiltSettings() {
    CaptureSettings s;
    s.hotKeyCode = 0x41; s.hotKeyModifiers = 6; s.captureMode = 4;
    s.playSound = 0; s.showInfoDialog = 1; s.saveSettingsOnExit = 0; s.showEditor = 1;
    s.copyToClipboard = 1; s.saveToFile = 0; s.saveMode = 2;
    s.saveDirectory = "d:\\shots\\"; s.baseName = "Frame"; s.nextNumber = 12345;
    s.fileFormat = 2; s.jpegGrayscale = 1; s.jpegProgressive = 0; s.jpegSmoothing = 1;
    s.jpegQuality = 90; s.backgroundColor = 0x00332211;
    return s;
}

TEST(SettingsFileFormat, DefaultsAreTheDocumentedOnes) {
    CaptureSettings s;
    EXPECT_EQ(s.hotKeyCode, 0x7A);
    EXPECT_EQ(s.captureMode, 3);
    EXPECT_EQ(s.saveDirectory, "c:\\CaptureImage\\");
    EXPECT_EQ(s.baseName, "Kelvane_");
    EXPECT_EQ(s.jpegQuality, 75);
    EXPECT_EQ(s.backgroundColor, 0x00804000u);
}

TEST(SettingsFileFormat, DecodesEveryFieldAtItsOffset) {
    auto file = HandBuiltFile();
    CaptureSettings s;
    s.runAtStartup = 1;
    Decode(file.data(), file.size(), s);
    CaptureSettings expected = HandBuiltSettings();
    expected.runAtStartup = 1;  // not in the file, so untouched
    EXPECT_EQ(s, expected);
}

TEST(SettingsFileFormat, EncodesEveryFieldAtItsOffset) {
    auto bytes = Encode(HandBuiltSettings());
    auto file = HandBuiltFile();
    ASSERT_EQ(bytes.size(), 557u);
    // Equal except for the filler after each text's zero byte, which the encoder writes as zeros.
    for (size_t i = 0; i < 557; ++i) {
        bool filler = (i >= 18 + 10 && i < 278) || (i >= 278 + 6 && i < 538);
        if (filler) EXPECT_EQ(bytes[i], 0) << "offset " << i;
        else EXPECT_EQ(bytes[i], file[i]) << "offset " << i;
    }
}

TEST(SettingsFileFormat, RoundTripsAndPassesOutOfRangeValuesThrough) {
    CaptureSettings s = HandBuiltSettings();
    s.captureMode = 77; s.saveMode = -3; s.fileFormat = 9; s.jpegQuality = 250; s.playSound = 5;
    auto bytes = Encode(s);
    CaptureSettings back;
    Decode(bytes.data(), bytes.size(), back);
    EXPECT_EQ(back, s);
}

TEST(SettingsFileFormat, TextOf259CharactersKeepsItsTerminator) {
    CaptureSettings s;
    s.saveDirectory = std::string(258, 'x') + "\\";
    auto bytes = Encode(s);
    EXPECT_EQ(bytes[kSaveDirectory + 259], 0);
    CaptureSettings back;
    Decode(bytes.data(), bytes.size(), back);
    EXPECT_EQ(back.saveDirectory, s.saveDirectory);

    s.baseName = std::string(400, 'n');  // too long: cut at 259
    bytes = Encode(s);
    Decode(bytes.data(), bytes.size(), back);
    EXPECT_EQ(back.baseName, std::string(259, 'n'));
}

TEST(SettingsFileFormat, TextWithoutZeroByteIsCutAt259) {
    auto file = HandBuiltFile();
    std::memset(&file[kSaveDirectory], 'q', 260);
    std::memset(&file[kBaseName], 'r', 260);
    CaptureSettings s;
    Decode(file.data(), file.size(), s);
    EXPECT_EQ(s.saveDirectory, std::string(259, 'q'));
    EXPECT_EQ(s.baseName, std::string(259, 'r'));
    EXPECT_EQ(s.nextNumber, 12345);  // the fields after it are still read from their offsets
}

TEST(SettingsFileFormat, ShortFileKeepsDefaultsForFieldsNotWhollyRead) {
    auto file = HandBuiltFile();
    CaptureSettings s;
    Decode(file.data(), 0, s);
    EXPECT_EQ(s, CaptureSettings{});

    Decode(file.data(), 6, s);  // hot-key read, captureMode cut in half
    EXPECT_EQ(s.hotKeyCode, 0x41);
    EXPECT_EQ(s.hotKeyModifiers, 6);
    EXPECT_EQ(s.captureMode, 3);

    s = CaptureSettings{};
    Decode(file.data(), 277, s);  // saveDirectory one byte short of whole
    EXPECT_EQ(s.saveMode, 2);
    EXPECT_EQ(s.saveDirectory, "c:\\CaptureImage\\");

    s = CaptureSettings{};
    Decode(file.data(), 556, s);  // only the last byte of backgroundColor missing
    EXPECT_EQ(s.jpegQuality, 90);
    EXPECT_EQ(s.backgroundColor, 0x00804000u);
}

TEST(SettingsFileFormat, LongerFileReadsTheFirst557Bytes) {
    auto file = HandBuiltFile();
    file.resize(900, 0xFF);
    CaptureSettings s;
    Decode(file.data(), file.size(), s);
    EXPECT_EQ(s, HandBuiltSettings());
}

// Out-of-range values come out of the decoder as they stand; the range repair that follows it makes
// each one its default, so the record that is used (and written back at exit) is valid.
TEST(SettingsRanges, EachFieldOutsideItsRangeBecomesItsDefault) {
    auto file = HandBuiltFile();
    auto put32 = [&](size_t at, int32_t v) { std::memcpy(&file[at], &v, 4); };
    put32(kCaptureMode, 0);
    put32(kSaveMode, 3);
    put32(kFileFormat, -1);
    put32(kJpegQuality, 101);
    put32(kBackgroundColor, 0x01332211);
    file[kPlaySound] = 2;
    file[kSaveToFile] = 0xFF;
    file[kJpegSmoothing] = 7;
    std::memcpy(&file[kBaseName], "a:b", 4);
    CaptureSettings s;
    Decode(file.data(), file.size(), s);
    EXPECT_TRUE(SettingsRanges::Repair(s));

    const CaptureSettings d;
    CaptureSettings expected = HandBuiltSettings();
    expected.captureMode = d.captureMode;
    expected.saveMode = d.saveMode;
    expected.fileFormat = d.fileFormat;
    expected.jpegQuality = d.jpegQuality;
    expected.backgroundColor = d.backgroundColor;
    expected.playSound = d.playSound;
    expected.saveToFile = d.saveToFile;
    expected.jpegSmoothing = d.jpegSmoothing;
    expected.baseName = d.baseName;
    EXPECT_EQ(s, expected);  // the fields in range keep what the file said

    // Written back, every value is valid and the file keeps its length.
    auto bytes = Encode(s);
    EXPECT_EQ(bytes.size(), 557u);
    CaptureSettings again;
    Decode(bytes.data(), bytes.size(), again);
    EXPECT_FALSE(SettingsRanges::Repair(again));
    EXPECT_EQ(again, s);
}

TEST(SettingsRanges, EveryValueInRangeIsKeptAndTheLimitsAreExact) {
    CaptureSettings s = HandBuiltSettings();
    EXPECT_FALSE(SettingsRanges::Repair(s));
    EXPECT_EQ(s, HandBuiltSettings());
    for (int32_t mode = 1; mode <= 6; ++mode) {
        s.captureMode = mode;
        EXPECT_FALSE(SettingsRanges::Repair(s)) << mode;
    }
    for (int32_t format : {0, 1, 2, 3}) EXPECT_TRUE(SettingsRanges::IsFileFormat(format)) << format;
    for (int32_t bad : {-1, 7, INT32_MIN, INT32_MAX}) {
        EXPECT_FALSE(SettingsRanges::IsCaptureMode(bad)) << bad;
        EXPECT_FALSE(SettingsRanges::IsFileFormat(bad)) << bad;
    }
    EXPECT_FALSE(SettingsRanges::IsCaptureMode(0));
    EXPECT_FALSE(SettingsRanges::IsSaveMode(0));
    EXPECT_FALSE(SettingsRanges::IsSaveMode(3));
    s.jpegQuality = 0;
    EXPECT_FALSE(SettingsRanges::Repair(s));
    s.jpegQuality = 100;
    EXPECT_FALSE(SettingsRanges::Repair(s));
    s.jpegQuality = -1;
    EXPECT_TRUE(SettingsRanges::Repair(s));
    EXPECT_EQ(s.jpegQuality, 75);
}

TEST(SettingsRanges, SaveDirectoryAlwaysEndsWithABackslash) {
    CaptureSettings s;
    s.saveDirectory = "d:\\shots";
    EXPECT_TRUE(SettingsRanges::Repair(s));
    EXPECT_EQ(s.saveDirectory, "d:\\shots\\");
    s.saveDirectory = "";
    EXPECT_TRUE(SettingsRanges::Repair(s));
    EXPECT_EQ(s.saveDirectory, "c:\\CaptureImage\\");
    // 259 characters leave no room for the backslash within the file's field.
    s.saveDirectory = std::string(259, 'x');
    EXPECT_TRUE(SettingsRanges::Repair(s));
    EXPECT_EQ(s.saveDirectory, "c:\\CaptureImage\\");
    s.saveDirectory = std::string(258, 'x');
    EXPECT_TRUE(SettingsRanges::Repair(s));
    EXPECT_EQ(s.saveDirectory, std::string(258, 'x') + "\\");
}

}  // namespace
