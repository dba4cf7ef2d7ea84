#pragma once
// The five row filters of PNG (platform-free). Each row of the image is stored as one filter-type
// byte followed by the row's bytes, each replaced by its difference from a prediction made of the
// byte to its left (one pixel back), the byte above, and the byte above-left.
#include <cstddef>
#include <cstdint>

namespace PngFilters {

enum Type : uint8_t { kNone = 0, kSub = 1, kUp = 2, kAverage = 3, kPaeth = 4 };
inline constexpr int kTypeCount = 5;

// Filters `row` into `out` (both `length` bytes). `prior` is the row above, unfiltered; nullptr
// for the first row (all zero). `bytesPerPixel` is the distance to the "left" byte (at least 1).
void Filter(Type type, const uint8_t* row, const uint8_t* prior, size_t length, int bytesPerPixel, uint8_t* out);

// Undoes a filter in place; false for a filter-type byte that is not one of the five.
bool Unfilter(uint8_t type, uint8_t* row, const uint8_t* prior, size_t length, int bytesPerPixel);

// The filter whose output has the smallest sum of absolute values (bytes read as signed): the
// usual guess at which filter leaves the compressor the least to do. Writes that filter's output
// into `out`. `scratch` needs room for `length` bytes.
Type FilterBest(const uint8_t* row, const uint8_t* prior, size_t length, int bytesPerPixel, uint8_t* out,
                uint8_t* scratch);

}  // namespace PngFilters
