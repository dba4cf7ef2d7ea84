#include "capture/capture_options.h"

namespace CaptureOptions {

namespace {

constexpr char kMagic[] = "TSCO";
constexpr size_t kMagicSize = 4;
constexpr unsigned char kVersion = 1;

}  // namespace

int DelayChoiceIndex(int seconds) {
    for (int i = 0; i < kDelayChoiceCount; ++i)
        if (kDelayChoices[i] == seconds) return i;
    return 0;
}

int OfferedDelay(int seconds) { return kDelayChoices[DelayChoiceIndex(seconds)]; }

int DelayAtChoice(int index) { return index >= 0 && index < kDelayChoiceCount ? kDelayChoices[index] : 0; }

std::string Encode(const CaptureSettings& settings) {
    std::string bytes(kMagic, kMagicSize);
    bytes += static_cast<char>(kVersion);
    bytes += static_cast<char>(OfferedDelay(settings.delaySeconds));
    bytes += static_cast<char>(settings.includePointer ? 1 : 0);
    return bytes;
}

bool Decode(const std::string& bytes, CaptureSettings& settings) {
    if (bytes.size() < kFileSize || bytes.size() > kReadLimit || bytes.compare(0, kMagicSize, kMagic) != 0 ||
        bytes[kMagicSize] == 0)
        return false;
    settings.delaySeconds = OfferedDelay(static_cast<unsigned char>(bytes[5]));
    settings.includePointer = bytes[6] != 0 ? 1 : 0;
    return true;
}

}  // namespace CaptureOptions
