#include "capture/capture_options_store.h"

#include "app/atomic_file.h"
#include "app/settings_location.h"
#include "capture/capture_options.h"

namespace CaptureOptionsStore {

namespace {

std::string OptionsPath() { return SettingsFilePath(CaptureOptions::kFileName); }

}  // namespace

bool Load(CaptureSettings& settings) {
    std::string bytes;
    // One byte over the limit tells a file too big to be ours from one just at it.
    if (!AtomicFile::Read(OptionsPath(), bytes, CaptureOptions::kReadLimit + 1)) return false;
    return CaptureOptions::Decode(bytes, settings);
}

bool Save(const CaptureSettings& settings) {
    std::string bytes = CaptureOptions::Encode(settings);
    return AtomicFile::Replace(OptionsPath(), bytes.data(), bytes.size());
}

}  // namespace CaptureOptionsStore
