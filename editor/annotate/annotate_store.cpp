#include "editor/annotate/annotate_store.h"

#include <string>

#include "app/atomic_file.h"
#include "app/settings_location.h"

namespace AnnotateStore {

namespace {
const char kFileName[] = "annotate.dat";
}

AnnotateOptions Load() {
    AnnotateOptions options;
    std::string data;
    // Read a little past the size, so a longer file is seen as damaged rather than cut short.
    if (AtomicFile::Read(SettingsFilePath(kFileName), data, 64)) AnnotateOptions::Decode(data, options);
    return options;
}

bool Save(const AnnotateOptions& options) {
    const std::string data = options.Encode();
    return AtomicFile::Replace(SettingsFilePath(kFileName), data.data(), data.size());
}

}  // namespace AnnotateStore
