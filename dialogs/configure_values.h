#pragma once
// What the two pages of the Configure sheet hold (platform-free): the pages inherit these, so the
// Configure command can fill them from the settings and take them back without any window.
#include <cstdint>
#include <string>

// Radio states: every radio button is a group of its own; 0 = checked, -1 = not checked.
constexpr int kRadioChecked = 0;
constexpr int kRadioUnchecked = -1;

struct CapturePageValues {
    uint16_t hotKeyCode = 0;   // virtual-key code; 0 = no hot-key
    uint16_t hotKeyFlags = 0;  // hot-key control form: 1 Shift, 2 Control, 4 Alt, 8 extended key
    int playSound = 0;
    int showInfoDialog = 0;
    // One state per capture-mode radio.
    int activeWindowRadio = kRadioUnchecked;   // mode 2
    int fullScreenRadio = kRadioUnchecked;     // mode 1
    int rectangleRadio = kRadioUnchecked;      // mode 4
    int windowControlRadio = kRadioUnchecked;  // mode 3
    int runAtStartup = 0;
    int saveSettingsOnExit = 0;
    int directXRadio = kRadioUnchecked;        // mode 5
    int monitorRadio = kRadioUnchecked;        // mode 6
    int includePointer = 0;
    int delayChoice = 0;  // position in the delay combo (CaptureOptions::kDelayChoices)
};

struct SavePageValues {
    // The JPEG options, edited only through the JPEG Options dialog.
    uint8_t jpegGrayscale = 0;
    uint8_t jpegProgressive = 0;
    uint8_t jpegSmoothing = 0;
    int jpegQuality = 75;
    int nextNumber = 0;
    int fileFormat = 0;  // 0 "bmp", 1 "jpg", 2 "gif", 3 "png"
    int copyToClipboard = 0;
    int showEditor = 0;
    int saveToFile = 0;
    std::string formatText;  // the format combo's current text
    std::string baseName;
    std::string saveDirectory;
    int autoSaveRadio = kRadioUnchecked;  // saveMode 2
    int saveAsRadio = kRadioUnchecked;    // saveMode 1
    std::string counterText;  // the start field as typed
};
