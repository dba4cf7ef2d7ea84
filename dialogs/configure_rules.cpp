#include "dialogs/configure_rules.h"

#include "app/settings_file_format.h"
#include "capture/capture_options.h"

namespace ConfigureRules {
namespace {

// RegisterHotKey modifiers.
constexpr uint16_t kModAlt = 1, kModControl = 2, kModShift = 4;
// Hot-key control flags.
constexpr uint16_t kFlagShift = 1, kFlagControl = 2, kFlagAlt = 4;

}  // namespace

uint16_t HotKeyFlagsFromModifiers(uint16_t modifiers) {
    uint16_t flags = 0;
    if (modifiers & kModAlt) flags |= kFlagAlt;
    if (modifiers & kModControl) flags |= kFlagControl;
    if (modifiers & kModShift) flags |= kFlagShift;
    return flags;
}

uint16_t ModifiersFromHotKeyFlags(uint16_t flags) {
    uint16_t modifiers = 0;
    if (flags & kFlagAlt) modifiers |= kModAlt;
    if (flags & kFlagControl) modifiers |= kModControl;
    if (flags & kFlagShift) modifiers |= kModShift;
    return modifiers;
}

char ForbiddenCharacterIn(const std::string& baseName) {
    for (const char* c = kForbiddenBaseNameCharacters; *c; ++c)
        if (baseName.find(*c) != std::string::npos) return *c;
    return 0;
}

std::string DirectoryToStore(const std::string& pageText, bool namesADirectory) {
    if (!namesADirectory || pageText.empty()) return {};
    std::string directory = pageText;
    if (directory.back() != '\\') directory += '\\';
    // configure.dat keeps 259 characters: a longer path would come back cut, and automatic
    // saves would then go somewhere else.
    if (directory.size() > SettingsFileFormat::kMaxTextLength) return {};
    return directory;
}

void SetCaptureRadios(CapturePageValues& page, int captureMode) {
    page.fullScreenRadio = captureMode == 1 ? kRadioChecked : kRadioUnchecked;
    page.activeWindowRadio = captureMode == 2 ? kRadioChecked : kRadioUnchecked;
    page.windowControlRadio = captureMode == 3 ? kRadioChecked : kRadioUnchecked;
    page.rectangleRadio = captureMode == 4 ? kRadioChecked : kRadioUnchecked;
    page.directXRadio = captureMode == 5 ? kRadioChecked : kRadioUnchecked;
    page.monitorRadio = captureMode == 6 ? kRadioChecked : kRadioUnchecked;
}

int CaptureModeFromRadios(const CapturePageValues& page, int current) {
    const int states[] = {page.fullScreenRadio, page.activeWindowRadio, page.windowControlRadio,
                          page.rectangleRadio, page.directXRadio, page.monitorRadio};
    for (int i = 0; i < 6; ++i)
        if (states[i] == kRadioChecked) return i + 1;
    return current;
}

PageValues CopyIn(const CaptureSettings& s) {
    PageValues pages;
    CapturePageValues& c = pages.capture;
    SetCaptureRadios(c, s.captureMode);
    c.playSound = s.playSound;
    c.showInfoDialog = s.showInfoDialog;
    c.runAtStartup = s.runAtStartup;
    c.saveSettingsOnExit = s.saveSettingsOnExit;
    c.hotKeyFlags = HotKeyFlagsFromModifiers(s.hotKeyModifiers);
    c.hotKeyCode = s.hotKeyCode;
    c.includePointer = s.includePointer;
    c.delayChoice = CaptureOptions::DelayChoiceIndex(s.delaySeconds);

    SavePageValues& v = pages.save;
    v.saveAsRadio = s.saveMode == 1 ? kRadioChecked : kRadioUnchecked;
    v.autoSaveRadio = s.saveMode == 2 ? kRadioChecked : kRadioUnchecked;
    v.showEditor = s.showEditor;
    v.copyToClipboard = s.copyToClipboard;
    v.saveToFile = s.saveToFile;
    v.baseName = s.baseName;
    v.saveDirectory = s.saveDirectory;
    v.nextNumber = s.nextNumber;
    v.fileFormat = s.fileFormat;
    v.jpegGrayscale = s.jpegGrayscale;
    v.jpegProgressive = s.jpegProgressive;
    v.jpegSmoothing = s.jpegSmoothing;
    v.jpegQuality = s.jpegQuality;
    return pages;
}

TakeBackOutcome TakeBack(const PageValues& pages, bool directoryExists, CaptureSettings& s) {
    const CapturePageValues& c = pages.capture;
    const SavePageValues& v = pages.save;
    TakeBackOutcome outcome;

    s.hotKeyModifiers = ModifiersFromHotKeyFlags(c.hotKeyFlags);
    s.hotKeyCode = c.hotKeyCode;
    s.captureMode = CaptureModeFromRadios(c, s.captureMode);
    s.playSound = c.playSound != 0;
    s.showInfoDialog = c.showInfoDialog != 0;
    s.runAtStartup = c.runAtStartup != 0;
    s.saveSettingsOnExit = c.saveSettingsOnExit != 0;
    s.includePointer = c.includePointer != 0;
    s.delaySeconds = CaptureOptions::DelayAtChoice(c.delayChoice);
    s.showEditor = v.showEditor != 0;
    s.copyToClipboard = v.copyToClipboard != 0;
    s.saveToFile = v.saveToFile != 0;

    std::string directory = DirectoryToStore(v.saveDirectory, directoryExists);
    if (directory.empty()) outcome.directoryRefused = true;
    else s.saveDirectory = directory;

    if (ForbiddenCharacterIn(v.baseName)) outcome.baseNameRefused = true;
    else s.baseName = v.baseName;

    s.nextNumber = v.nextNumber;
    // The format list may show no selection: only a format the save path knows is stored.
    if (SettingsRanges::IsFileFormat(v.fileFormat)) s.fileFormat = v.fileFormat;
    if (v.autoSaveRadio == kRadioChecked) s.saveMode = 2;
    else if (v.saveAsRadio == kRadioChecked) s.saveMode = 1;

    // JPEG options chosen while another format ends up selected are dropped.
    if (s.fileFormat == 1) {
        s.jpegGrayscale = v.jpegGrayscale;
        s.jpegProgressive = v.jpegProgressive;
        s.jpegSmoothing = v.jpegSmoothing;
        s.jpegQuality = v.jpegQuality;
    }
    return outcome;
}

}  // namespace ConfigureRules
