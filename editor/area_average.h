#pragma once
// The reduced view's arithmetic: each target pixel the average of the source pixels it covers,
// those cut by its edges counted by the part they cover. Pixels are 4 bytes (blue, green, red and
// a fourth byte averaged like the others), rows reached through a callback so a caller can read
// the source a band at a time.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace AreaAverage {

// Weights are in 1/4096 of a target pixel; each target pixel's weights add up to exactly that.
constexpr int kWeightBits = 12;
// The two steps' fixed point: across sums shifted down by kAcrossShift, then the weighted sum
// down the picture rounded and shifted by the rest.
constexpr int kAcrossShift = 5;
constexpr int kDownShift = 2 * kWeightBits - kAcrossShift;
constexpr int32_t kDownRounding = int32_t(1) << (kDownShift - 1);

// Which source samples each target sample of one axis covers, and how much of each.
struct Axis {
    std::vector<int> first;     // first source sample of target sample t
    std::vector<int> offset;    // where its weights start in `weight`; offset[t + 1] ends them
    std::vector<int16_t> weight;
    // For the SIMD step: per target sample, its first four weights as two 16-bit pairs (zero
    // past its last weight), and whether four samples from its first one lie inside the line.
    std::vector<int32_t> firstPairs;  // 2 per target sample
    std::vector<uint8_t> fourFit;     // 1 when the sample has at most four weights and 4 fit
    bool halves = false;              // exactly two source samples to each target sample
};

// sourceLength >= targetLength >= 1.
Axis MakeAxis(int sourceLength, int targetLength);

// One source row reduced across: four values a target pixel, in 1/128 of a level (the
// 1/4096-weighted sum shifted down by 5, which keeps it within 16 bits for the next step).
using AcrossFn = void (*)(const uint8_t* row, const Axis& across, int targetWidth, int16_t* out);
// `count` rows reduced across, weighted down the picture and rounded to levels: `lanes` bytes.
using DownFn = void (*)(const int16_t* const* rows, const int16_t* weights, int count, int lanes,
                        uint8_t* out);

void AcrossPortable(const uint8_t* row, const Axis& across, int targetWidth, int16_t* out);
void DownPortable(const int16_t* const* rows, const int16_t* weights, int count, int lanes,
                  uint8_t* out);
// SSE2 versions; null where this build or processor has none. Their results are the portable
// ones exactly.
AcrossFn AcrossSse2();
DownFn DownSse2();

// The exact halves and thirds (the 50 % view and a third of the image on both axes): each target
// pixel the rounded mean of the 2 x 2 or 3 x 3 block under it, summed straight from the source
// rows. A half equals what the weighted steps give; a third is the exactly rounded mean, which the
// 1/4096 weights can miss by one level.
using BlockRowFn = void (*)(const uint8_t* const* rows, int targetWidth, uint8_t* out);
void HalveRowPortable(const uint8_t* const* rows, int targetWidth, uint8_t* out);
void ThirdRowPortable(const uint8_t* const* rows, int targetWidth, uint8_t* out);
BlockRowFn HalveRowSse2();
BlockRowFn ThirdRowSse2();

// Every other whole ratio from 4 to 16 on both axes (the 10 % and 20 % views of the common screen
// sizes): the block's source rows summed down into 16-bit lanes, a row at a time, then each target
// pixel's `factor` columns of sums added across and divided, rounded to nearest (halves up).
constexpr int kMostWholeFactor = 16;  // 16 x 16 x 255 still fits 16 bits
using AddRowFn = void (*)(const uint8_t* row, int lanes, uint16_t* sums);
using FinishRowFn = void (*)(const uint16_t* sums, int factor, int targetWidth, uint8_t* out);
void AddRowPortable(const uint8_t* row, int lanes, uint16_t* sums);
void FinishRowPortable(const uint16_t* sums, int factor, int targetWidth, uint8_t* out);
AddRowFn AddRowSse2();
FinishRowFn FinishRowSse2();

// A block sum divided by the block's area (factor x factor, from 4 up) and rounded: the division
// as a multiplication, exact for every sum a block of 8-bit values can reach. Static, so that the
// copy compiled with SSE2 for the SIMD file is never the one the portable steps call.
static inline uint8_t RoundedMean(uint32_t sum, uint32_t area, uint32_t reciprocal) {
    return uint8_t((uint64_t(sum + area / 2) * reciprocal) >> 32);  // one 32 x 32-bit multiply
}
static inline uint32_t ReciprocalOf(uint32_t area) {
    return uint32_t(((uint64_t(1) << 32) + area - 1) / area);
}

// The most rows a reduction asks its source for at once.
constexpr int kMostRowsAtOnce = 3;

class SourceRows {
public:
    virtual ~SourceRows() = default;
    // Source rows y to y + count - 1 (count at most kMostRowsAtOnce, top first), 4 bytes a pixel:
    // row y at the pointer returned, row y + i at it plus i * *stride; valid until the next call.
    // Null when they cannot be read.
    virtual const uint8_t* Rows(int y, int count, ptrdiff_t* stride) = 0;
};

// Reduces a sourceWidth x sourceHeight picture into targetWidth x targetHeight (each no larger,
// at least 1) at `target`, rows `targetStride` bytes apart, top first. False when a source row
// cannot be read.
bool Reduce(SourceRows& source, int sourceWidth, int sourceHeight, uint8_t* target,
            ptrdiff_t targetStride, int targetWidth, int targetHeight);

}  // namespace AreaAverage
