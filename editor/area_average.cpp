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
    return axis;
}

void AcrossPortable(const uint8_t* row, const Axis& across, int targetWidth, uint32_t* sums) {
    for (int t = 0; t < targetWidth; ++t) {
        const uint8_t* p = row + 4 * across.first[size_t(t)];
        uint32_t a = 0, b = 0, c = 0, d = 0;
        for (int i = across.offset[size_t(t)]; i < across.offset[size_t(t) + 1]; ++i, p += 4) {
            const uint32_t w = uint32_t(across.weight[size_t(i)]);
            a += w * p[0], b += w * p[1], c += w * p[2], d += w * p[3];
        }
        sums[4 * t] = a, sums[4 * t + 1] = b, sums[4 * t + 2] = c, sums[4 * t + 3] = d;
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

}  // namespace

bool Reduce(SourceRows& source, int sourceWidth, int sourceHeight, uint8_t* target,
            ptrdiff_t targetStride, int targetWidth, int targetHeight) {
    const Axis across = MakeAxis(sourceWidth, targetWidth);
    const Axis down = MakeAxis(sourceHeight, targetHeight);
    const AcrossFn reduceAcross = BestAcross();
    const size_t lanes = size_t(targetWidth) * 4;
    // A source row on the edge between two target rows is used by both: its reduction is kept.
    std::vector<uint32_t> row(lanes), kept(lanes), sum(lanes);
    int keptRow = -1;
    for (int t = 0; t < targetHeight; ++t) {
        std::fill(sum.begin(), sum.end(), 0u);
        int y = down.first[size_t(t)];
        for (int i = down.offset[size_t(t)]; i < down.offset[size_t(t) + 1]; ++i, ++y) {
            const uint32_t* across1 = nullptr;
            if (y == keptRow) {
                across1 = kept.data();
            } else {
                const uint8_t* pixels = source.Row(y);
                if (!pixels) return false;
                reduceAcross(pixels, across, targetWidth, row.data());
                across1 = row.data();
            }
            // Down to 1/256 of a level first, so that a second 1/4096 weight fits 32 bits.
            const uint32_t w = uint32_t(down.weight[size_t(i)]);
            for (size_t l = 0; l < lanes; ++l) sum[l] += w * (across1[l] >> 4);
            if (i + 1 == down.offset[size_t(t) + 1] && across1 == row.data()) {
                kept.swap(row);
                keptRow = y;
            }
        }
        uint8_t* out = target + ptrdiff_t(t) * targetStride;
        for (size_t l = 0; l < lanes; ++l)
            out[l] = uint8_t((sum[l] + (1u << (2 * kWeightBits - 4 - 1))) >> (2 * kWeightBits - 4));
    }
    return true;
}

}  // namespace AreaAverage
