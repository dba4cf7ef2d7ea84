#pragma once
// The user's options, held by the central view for the whole run and kept in configure.dat.
#include <cstdint>
#include <string>

struct CaptureSettings {
    // Global capture hot-key in RegisterHotKey form (modifiers: 1 Alt, 2 Control, 4 Shift); 0 = none.
    uint16_t hotKeyCode = 0x7A;  // F11
    uint16_t hotKeyModifiers = 0;
    // 1 full screen (every monitor), 2 active window, 3 window/button/control, 4 rectangle area,
    // 5 direct grab, 6 the monitor under the pointer.
    int32_t captureMode = 3;
    uint8_t playSound = 1;
    uint8_t showInfoDialog = 1;
    // Lives in the registry's Run key only; configure.dat has no byte for it.
    uint8_t runAtStartup = 0;
    uint8_t saveSettingsOnExit = 1;
    uint8_t showEditor = 1;
    uint8_t copyToClipboard = 0;
    uint8_t saveToFile = 1;
    int32_t saveMode = 1;  // 1 Save As dialog, 2 automatic
    std::string saveDirectory = "c:\\CaptureImage\\";  // always ends with a backslash
    std::string baseName = "Kelvane_";
    int32_t nextNumber = 1;
    int32_t fileFormat = 0;  // 0 BMP, 1 JPEG, 2 GIF, 3 PNG
    uint8_t jpegGrayscale = 0;
    uint8_t jpegProgressive = 0;
    uint8_t jpegSmoothing = 0;
    int32_t jpegQuality = 75;
    uint32_t backgroundColor = 0x00804000;  // COLORREF 0x00BBGGRR
    // Kept in capture-options.dat; configure.dat has no byte for them.
    int32_t delaySeconds = 0;    // before each capture: 0, 1, 3, 5 or 10
    uint8_t includePointer = 0;  // the mouse pointer drawn into the picture (not in rectangle mode)

    bool operator==(const CaptureSettings&) const = default;
};
