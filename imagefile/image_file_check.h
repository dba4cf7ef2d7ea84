#pragma once
// What an image file says about itself before anything decodes it (platform-free): whether it is
// a BMP, GIF or JPEG file with a picture we can hold. A header claiming an enormous picture is
// refused here, so no decoder ever tries to allocate it.
#include <cstddef>
#include <cstdint>

namespace ImageFileCheck {

// The largest picture the program opens: at most 16,777,216 pixels (for example 4096 x 4096, or
// a 5K screen of 5120 x 2880), which is 64 MB as a 32-bit bitmap; and at most 32767 pixels a side.
// The editor keeps several copies of the image (its display copy and up to six edit states), so
// this keeps a 32-bit process well inside its address space.
constexpr int64_t kMaxPixels = 16777216;
constexpr int64_t kMaxSide = 32767;
// The largest file read: a 32-bit BMP of the largest picture, with room for its headers.
constexpr uint64_t kMaxFileBytes = uint64_t(kMaxPixels) * 4 + 64 * 1024;

enum class Kind { kUnknown, kBmp, kGif, kJpeg };
enum class Verdict {
    kFits,        // a BMP, GIF or JPEG file whose picture we can hold
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
