#pragma once
// The byte layout of configure.dat: 557 bytes, little-endian, fields back to back, no header.
#include <array>
#include <cstddef>
#include <cstdint>

#include "app/capture_settings.h"

namespace SettingsFileFormat {

constexpr size_t kFileSize = 557;
constexpr size_t kTextFieldSize = 260;  // text, a zero byte, filler
constexpr size_t kMaxTextLength = kTextFieldSize - 1;

// Field offsets, in file order.
constexpr size_t kHotKeyCode = 0, kHotKeyModifiers = 2, kCaptureMode = 4, kPlaySound = 8,
                 kShowInfoDialog = 9, kSaveSettingsOnExit = 10, kShowEditor = 11,
                 kCopyToClipboard = 12, kSaveToFile = 13, kSaveMode = 14, kSaveDirectory = 18,
                 kBaseName = 278, kNextNumber = 538, kFileFormat = 542, kJpegGrayscale = 546,
                 kJpegProgressive = 547, kJpegSmoothing = 548, kJpegQuality = 549,
                 kBackgroundColor = 553;

using Bytes = std::array<uint8_t, kFileSize>;

// The file image of `settings`. Text longer than 259 characters is cut so the zero byte fits.
Bytes Encode(const CaptureSettings& settings);

// Overwrites the fields of `settings` that `size` bytes of `data` hold wholly; a shorter file leaves
// the rest as they were. Values are taken as they stand, without range checks. Text ends at its
// first zero byte, or after 259 characters when the field has none. runAtStartup is never touched.
void Decode(const uint8_t* data, size_t size, CaptureSettings& settings);

}  // namespace SettingsFileFormat
