#include "editor/area_average.h"

#include <algorithm>

namespace AreaAverage {

Axis MakeAxis(int sourceLength, int targetLength) {
    // In units of 1 / (sourceLength * targetLength): target t spans [t * S, (t + 1) * S) with
    // S = sourceLength, source s spans [s * T, (s + 1) * T) with T = targetLength.
    Axis axis;
    axis.first.resize(size_t(targetLength));
    axis.offset.resize(size_t(targetLength) + 1);
    const int64_t S = sourceLength, T = targetLength;
    for (int64_t t = 0; t < T; ++t) {
        const int64_t begin = t * S, end = (t + 1) * S;
        const int64_t firstSource = begin / T, lastSource = (end - 1) / T;
        axis.first[size_t(t)] = int(firstSource);
        axis.offset[size_t(t)] = int(axis.weight.size());
        // Each share rounded down, then the units left over to the largest remainders, so the
        // weights add up exactly (flat areas stay flat) and each is within one unit of its share.
        const size_t start = axis.weight.size();
        int total = 0;
        int64_t remainder[64];
        for (int64_t s = firstSource; s <= lastSource; ++s) {
            const int64_t from = s * T > begin ? s * T : begin;
            const int64_t to = (s + 1) * T < end ? (s + 1) * T : end;
            const int64_t scaled = (to - from) << kWeightBits;
            axis.weight.push_back(int16_t(scaled / S));
            if (s - firstSource < 64) remainder[s - firstSource] = scaled % S;
            total += int(scaled / S);
        }
        const size_t count = axis.weight.size() - start;
        for (; total < (1 << kWeightBits); ++total) {
            size_t pick = 0;
            for (size_t i = 1; i < count && i < 64; ++i)
                if (remainder[i] > remainder[pick]) pick = i;
            remainder[pick] = -1;
            ++axis.weight[start + pick];
        }
    }
    axis.offset[size_t(T)] = int(axis.weight.size());
    axis.halves = S == 2 * T;
    axis.firstPairs.assign(size_t(T) * 2, 0);
    axis.fourFit.assign(size_t(T), 0);
    for (size_t t = 0; t < size_t(T); ++t) {
        const int count = axis.offset[t + 1] - axis.offset[t];
        int16_t w[4] = {0, 0, 0, 0};
        for (int i = 0; i < count && i < 4; ++i) w[i] = axis.weight[size_t(axis.offset[t] + i)];
        axis.firstPairs[2 * t] = int32_t(uint32_t(uint16_t(w[0])) | uint32_t(uint16_t(w[1])) << 16);
        axis.firstPairs[2 * t + 1] = int32_t(uint32_t(uint16_t(w[2])) | uint32_t(uint16_t(w[3])) << 16);
        axis.fourFit[t] = count <= 4 && axis.first[t] + 4 <= sourceLength;
    }
    return axis;
}

void AcrossPortable(const uint8_t* row, const Axis& across, int targetWidth, int16_t* out) {
    for (int t = 0; t < targetWidth; ++t) {
        const uint8_t* p = row + 4 * across.first[size_t(t)];
        int32_t sum[4] = {0, 0, 0, 0};
        for (int i = across.offset[size_t(t)]; i < across.offset[size_t(t) + 1]; ++i, p += 4)
            for (int c = 0; c < 4; ++c) sum[c] += int32_t(across.weight[size_t(i)]) * p[c];
        for (int c = 0; c < 4; ++c) out[4 * t + c] = int16_t(sum[c] >> kAcrossShift);
    }
}

void DownPortable(const int16_t* const* rows, const int16_t* weights, int count, int lanes,
                  uint8_t* out) {
    for (int l = 0; l < lanes; ++l) {
        int32_t sum = kDownRounding;
        for (int i = 0; i < count; ++i) sum += int32_t(weights[i]) * rows[i][l];
        out[l] = uint8_t(sum >> kDownShift);
    }
}

void HalveRowPortable(const uint8_t* const* rows, int targetWidth, uint8_t* out) {
    const uint8_t *a = rows[0], *b = rows[1];
    for (int i = 0; i < 4 * targetWidth; ++i) {
        const int x = i / 4 * 8 + i % 4;
        out[i] = uint8_t((a[x] + a[x + 4] + b[x] + b[x + 4] + 2) >> 2);
    }
}

void ThirdRowPortable(const uint8_t* const* rows, int targetWidth, uint8_t* out) {
    for (int i = 0; i < 4 * targetWidth; ++i) {
        const int x = i / 4 * 12 + i % 4;
        int sum = 4;  // nine values never average to a half, so this rounds to nearest
        for (int r = 0; r < 3; ++r) sum += rows[r][x] + rows[r][x + 4] + rows[r][x + 8];
        out[i] = uint8_t(sum / 9);
    }
}

void AddRowPortable(const uint8_t* row, int lanes, uint16_t* sums) {
    for (int l = 0; l < lanes; ++l) sums[l] = uint16_t(sums[l] + row[l]);
}

void FinishRowPortable(const uint16_t* sums, int factor, int targetWidth, uint8_t* out) {
    const uint32_t area = uint32_t(factor * factor);
    const uint32_t reciprocal = ReciprocalOf(area);
    for (int t = 0; t < targetWidth; ++t)
        for (int c = 0; c < 4; ++c) {
            uint32_t sum = 0;
            for (int i = 0; i < factor; ++i) sum += sums[4 * (factor * t + i) + c];
            out[4 * t + c] = RoundedMean(sum, area, reciprocal);
        }
}

namespace {

AcrossFn BestAcross() {
    static const AcrossFn best = [] {
        const AcrossFn simd = AcrossSse2();
        return simd ? simd : &AcrossPortable;
    }();
    return best;
}

DownFn BestDown() {
    static const DownFn best = [] {
        const DownFn simd = DownSse2();
        return simd ? simd : &DownPortable;
    }();
    return best;
}

BlockRowFn BestBlockRow(int factor) {
    static const BlockRowFn halve = [] {
        const BlockRowFn simd = HalveRowSse2();
        return simd ? simd : &HalveRowPortable;
    }();
    static const BlockRowFn third = [] {
        const BlockRowFn simd = ThirdRowSse2();
        return simd ? simd : &ThirdRowPortable;
    }();
    return factor == 2 ? halve : third;
}

// Each target row from the `factor` source rows under it, summed down one at a time.
bool ReduceWholeBlocks(SourceRows& source, int factor, uint8_t* target, ptrdiff_t targetStride,
                       int targetWidth, int targetHeight) {
    static const AddRowFn addRow = [] {
        const AddRowFn simd = AddRowSse2();
        return simd ? simd : &AddRowPortable;
    }();
    static const FinishRowFn finishRow = [] {
        const FinishRowFn simd = FinishRowSse2();
        return simd ? simd : &FinishRowPortable;
    }();
    const int lanes = 4 * factor * targetWidth;
    std::vector<uint16_t> sums(static_cast<size_t>(lanes));
    for (int t = 0; t < targetHeight; ++t) {
        std::fill(sums.begin(), sums.end(), uint16_t(0));
        for (int i = 0; i < factor; ++i) {
            ptrdiff_t stride = 0;
            const uint8_t* row = source.Rows(factor * t + i, 1, &stride);
            if (!row) return false;
            addRow(row, lanes, sums.data());
        }
        finishRow(sums.data(), factor, targetWidth, target + ptrdiff_t(t) * targetStride);
    }
    return true;
}

// Each target row from the `factor` source rows under it, read together.
bool ReduceBlocks(SourceRows& source, int factor, uint8_t* target, ptrdiff_t targetStride,
                  int targetWidth, int targetHeight) {
    const BlockRowFn reduceRow = BestBlockRow(factor);
    for (int t = 0; t < targetHeight; ++t) {
        ptrdiff_t stride = 0;
        const uint8_t* first = source.Rows(factor * t, factor, &stride);
        if (!first) return false;
        const uint8_t* rows[kMostRowsAtOnce] = {first, first + stride, factor > 2 ? first + 2 * stride : nullptr};
        reduceRow(rows, targetWidth, target + ptrdiff_t(t) * targetStride);
    }
    return true;
}

// The weighted steps, for every other ratio.
bool ReduceWeighted(SourceRows& source, int sourceWidth, int sourceHeight, uint8_t* target,
                    ptrdiff_t targetStride, int targetWidth, int targetHeight) {
    const Axis across = MakeAxis(sourceWidth, targetWidth);
    const Axis down = MakeAxis(sourceHeight, targetHeight);
    const AcrossFn reduceAcross = BestAcross();
    const DownFn reduceDown = BestDown();
    const size_t lanes = size_t(targetWidth) * 4;
    // The source rows of one target row, reduced across, in a ring: a row on the edge between
    // two target rows is reduced once for both.
    int most = 1;
    for (int t = 0; t < targetHeight; ++t)
        most = std::max(most, down.offset[size_t(t) + 1] - down.offset[size_t(t)]);
    const int slots = most + 1;
    std::vector<int16_t> reduced(size_t(slots) * lanes);
    std::vector<int> heldRow(size_t(slots), -1);
    std::vector<const int16_t*> rows(static_cast<size_t>(most));
    for (int t = 0; t < targetHeight; ++t) {
        const int first = down.offset[size_t(t)], count = down.offset[size_t(t) + 1] - first;
        for (int i = 0; i < count; ++i) {
            const int y = down.first[size_t(t)] + i;
            const size_t slot = size_t(y % slots);
            int16_t* held = reduced.data() + slot * lanes;
            if (heldRow[slot] != y) {
                ptrdiff_t stride = 0;
                const uint8_t* pixels = source.Rows(y, 1, &stride);
                if (!pixels) return false;
                reduceAcross(pixels, across, targetWidth, held);
                heldRow[slot] = y;
            }
            rows[size_t(i)] = held;
        }
        reduceDown(rows.data(), down.weight.data() + first, count, int(lanes),
                   target + ptrdiff_t(t) * targetStride);
    }
    return true;
}

}  // namespace

bool Reduce(SourceRows& source, int sourceWidth, int sourceHeight, uint8_t* target,
            ptrdiff_t targetStride, int targetWidth, int targetHeight) {
    for (int factor = 2; factor <= kMostWholeFactor; ++factor) {
        if (sourceWidth != factor * targetWidth || sourceHeight != factor * targetHeight) continue;
        if (factor <= 3) return ReduceBlocks(source, factor, target, targetStride, targetWidth, targetHeight);
        return ReduceWholeBlocks(source, factor, target, targetStride, targetWidth, targetHeight);
    }
    return ReduceWeighted(source, sourceWidth, sourceHeight, target, targetStride, targetWidth,
                          targetHeight);
}

}  // namespace AreaAverage
