#include "app/settings_file_format.h"

#include <cstring>

namespace SettingsFileFormat {
namespace {

template <typename T>
void Put(Bytes& out, size_t offset, T value) {
    for (size_t i = 0; i < sizeof(T); ++i)
        out[offset + i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
}

void PutText(Bytes& out, size_t offset, const std::string& text) {
    size_t length = text.size() < kMaxTextLength ? text.size() : kMaxTextLength;
    std::memcpy(&out[offset], text.data(), length);  // the rest of the field stays zero
}

// Reads fields only where the input holds them wholly.
class Reader {
public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    template <typename T>
    void Get(size_t offset, T& field) const {
        if (offset + sizeof(T) > size_) return;
        uint64_t value = 0;
        for (size_t i = 0; i < sizeof(T); ++i) value |= uint64_t(data_[offset + i]) << (8 * i);
        field = static_cast<T>(value);
    }

    void GetText(size_t offset, std::string& field) const {
        if (offset + kTextFieldSize > size_) return;
        const char* text = reinterpret_cast<const char*>(data_ + offset);
        field.assign(text, strnlen(text, kMaxTextLength));
    }

private:
    const uint8_t* data_;
    size_t size_;
};

}  // namespace

Bytes Encode(const CaptureSettings& s) {
    Bytes out{};
    Put(out, kHotKeyCode, s.hotKeyCode);
    Put(out, kHotKeyModifiers, s.hotKeyModifiers);
    Put(out, kCaptureMode, s.captureMode);
    Put(out, kPlaySound, s.playSound);
    Put(out, kShowInfoDialog, s.showInfoDialog);
    Put(out, kSaveSettingsOnExit, s.saveSettingsOnExit);
    Put(out, kShowEditor, s.showEditor);
    Put(out, kCopyToClipboard, s.copyToClipboard);
    Put(out, kSaveToFile, s.saveToFile);
    Put(out, kSaveMode, s.saveMode);
    PutText(out, kSaveDirectory, s.saveDirectory);
    PutText(out, kBaseName, s.baseName);
    Put(out, kNextNumber, s.nextNumber);
    Put(out, kFileFormat, s.fileFormat);
    Put(out, kJpegGrayscale, s.jpegGrayscale);
    Put(out, kJpegProgressive, s.jpegProgressive);
    Put(out, kJpegSmoothing, s.jpegSmoothing);
    Put(out, kJpegQuality, s.jpegQuality);
    Put(out, kBackgroundColor, s.backgroundColor);
    return out;
}

void Decode(const uint8_t* data, size_t size, CaptureSettings& s) {
    Reader in(data, size);
    in.Get(kHotKeyCode, s.hotKeyCode);
    in.Get(kHotKeyModifiers, s.hotKeyModifiers);
    in.Get(kCaptureMode, s.captureMode);
    in.Get(kPlaySound, s.playSound);
    in.Get(kShowInfoDialog, s.showInfoDialog);
    in.Get(kSaveSettingsOnExit, s.saveSettingsOnExit);
    in.Get(kShowEditor, s.showEditor);
    in.Get(kCopyToClipboard, s.copyToClipboard);
    in.Get(kSaveToFile, s.saveToFile);
    in.Get(kSaveMode, s.saveMode);
    in.GetText(kSaveDirectory, s.saveDirectory);
    in.GetText(kBaseName, s.baseName);
    in.Get(kNextNumber, s.nextNumber);
    in.Get(kFileFormat, s.fileFormat);
    in.Get(kJpegGrayscale, s.jpegGrayscale);
    in.Get(kJpegProgressive, s.jpegProgressive);
    in.Get(kJpegSmoothing, s.jpegSmoothing);
    in.Get(kJpegQuality, s.jpegQuality);
    in.Get(kBackgroundColor, s.backgroundColor);
}

}  // namespace SettingsFileFormat
