#pragma once
// Which size of a picture to show at a display scale (platform-free): pictures drawn for 96 dpi
// look tiny at 150 % and 200 %, and scaling them up at run time blurs or steps them, so the
// artwork comes in several sizes and the largest that fits the scale is used.
#include <vector>

// `sizes` ascending, sizes[0] the size for 96 dpi. The largest size not above sizes[0] scaled to
// `dpi` (sizes[0] at 96 dpi and below, or for a dpi the system did not report).
int ArtSizeForDpi(int dpi, const std::vector<int>& sizes);
