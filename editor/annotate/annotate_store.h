#pragma once
// annotate.dat beside the other settings: read at start, replaced whole on each change.
#include "editor/annotate/annotate_options.h"

namespace AnnotateStore {

// The stored options, or the defaults when the file is missing or damaged.
AnnotateOptions Load();
// False when the file could not be replaced (the old one then stands).
bool Save(const AnnotateOptions& options);

}  // namespace AnnotateStore
