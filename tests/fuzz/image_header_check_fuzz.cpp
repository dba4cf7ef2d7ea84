// fuzz-sources: imagefile/image_file_check.cpp
// Arbitrary bytes taken as an image file to open. The check must stay within the input, and what
// it lets through to the decoder is a picture within the limits.
#include <cstdlib>

#include "imagefile/image_file_check.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace ImageFileCheck;
    const Result r = Check(data, size);
    switch (r.verdict) {
    case Verdict::kFits:
        ::Check(r.kind != Kind::kUnknown);
        ::Check(r.width > 0 && r.height > 0 && r.width <= kMaxSide && r.height <= kMaxSide);
        ::Check(r.width * r.height <= kMaxPixels && FitsLimits(r.width, r.height));
        break;
    case Verdict::kTooLarge:
        ::Check(!FitsLimits(r.width, r.height) || size > kMaxFileBytes);
        break;
    case Verdict::kNotAnImage:
        break;
    }
    return 0;
}
