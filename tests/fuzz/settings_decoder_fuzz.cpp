// fuzz-sources: app/settings_file_format.cpp app/settings_ranges.cpp imagefile/save_naming.cpp
// Arbitrary bytes taken as configure.dat. Reading must stay within the input; after the range
// repair every field is in its range, and the record written back reads back as itself.
#include <cstdlib>
#include <cstring>

#include "app/settings_file_format.h"
#include "app/settings_ranges.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace SettingsFileFormat;
    CaptureSettings s;
    Decode(data, size, s);
    Check(s.saveDirectory.size() <= kMaxTextLength && s.baseName.size() <= kMaxTextLength);
    Check(std::memchr(s.baseName.data(), 0, s.baseName.size()) == nullptr);
    SettingsRanges::Repair(s);

    Check(SettingsRanges::IsCaptureMode(s.captureMode) && SettingsRanges::IsSaveMode(s.saveMode) &&
          SettingsRanges::IsFileFormat(s.fileFormat));
    Check(s.jpegQuality >= 0 && s.jpegQuality <= 100);
    for (uint8_t flag : {s.playSound, s.showInfoDialog, s.saveSettingsOnExit, s.showEditor, s.copyToClipboard,
                         s.saveToFile, s.jpegGrayscale, s.jpegProgressive, s.jpegSmoothing})
        Check(flag <= 1);
    Check(!s.saveDirectory.empty() && s.saveDirectory.back() == '\\');
    Check(s.baseName.find_first_of(SettingsRanges::kForbiddenBaseNameCharacters) == std::string::npos);
    Check((s.backgroundColor >> 24) == 0);

    // What is repaired stays repaired, and survives the file.
    CaptureSettings again = s;
    Check(!SettingsRanges::Repair(again) && again == s);
    Bytes bytes = Encode(s);
    CaptureSettings back;
    back.runAtStartup = s.runAtStartup;
    Decode(bytes.data(), bytes.size(), back);
    Check(back == s);
    return 0;
}
