#pragma once
// What an image file says about itself before anything decodes it (platform-free): whether it is
// a BMP, GIF, JPEG or PNG file with a picture we can hold. A header claiming an enormous picture is
// refused here, so no decoder ever tries to allocate it.
#include <cstddef>
#include <cstdint>

namespace ImageFileCheck {

// The largest picture the program opens: at most 33,177,600 pixels, an 8K screen of 7680 x 4320
// (or three 4K screens side by side), which is 127 MB as a 32-bit bitmap; and at most 32767
// pixels a side. Whatever the program captures it can open again. The editor keeps several copies
// of the image (its display copy and up to six edit states): the program is linked
// large-address-aware, so on 64-bit Windows those copies have 4 GB of address space to live in.
constexpr int64_t kMaxPixels = int64_t(7680) * 4320;
constexpr int64_t kMaxSide = 32767;
// The largest file read: a 32-bit BMP of the largest picture, with room for its headers. A PNG
// larger than that (one of 16-bit samples with alpha, say) counts as too large.
constexpr uint64_t kMaxFileBytes = uint64_t(kMaxPixels) * 4 + 64 * 1024;

enum class Kind { kUnknown, kBmp, kGif, kJpeg, kPng };
enum class Verdict {
    kFits,        // a BMP, GIF, JPEG or PNG file whose picture we can hold
    kNotAnImage,  // another kind of file, or one cut short or damaged in its headers
    kTooLarge,    // a picture (or file) beyond the limits above
};

struct Result {
    Verdict verdict = Verdict::kNotAnImage;
    Kind kind = Kind::kUnknown;
    int64_t width = 0;
    int64_t height = 0;
};

// Examines the file's bytes. For a BMP without compression, the file must also hold every row
// its header promises.
Result Check(const uint8_t* data, size_t size);

// True when a picture of this size is within the limits.
bool FitsLimits(int64_t width, int64_t height);

}  // namespace ImageFileCheck
