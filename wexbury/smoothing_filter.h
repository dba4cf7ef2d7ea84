#pragma once
// The "Smoothing" option: a light 3x3 low-pass over the pixels before encoding, which takes the
// edge off dithering patterns and noise so they cost fewer bits. Each of the eight neighbours
// weighs kSmoothingFactor / 1024 and the pixel itself the rest, on the scale of the IJG encoder's
// smoothing factor (1..100); 30 is a moderate setting.
#include "wexbury/rgb_image.h"

namespace wexbury {

constexpr int kSmoothingFactor = 30;

// A smoothed copy of `image`; false when memory runs out.
bool SmoothImage(const RgbImage& image, RgbImage& smoothed);

}  // namespace wexbury
