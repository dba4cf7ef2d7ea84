#include "imagefile/png_filters.h"

#include <cstdlib>
#include <cstring>
#include <utility>

namespace PngFilters {
namespace {

inline uint8_t PaethPredictor(int left, int above, int aboveLeft) {
    const int estimate = left + above - aboveLeft;
    const int toLeft = std::abs(estimate - left), toAbove = std::abs(estimate - above),
              toAboveLeft = std::abs(estimate - aboveLeft);
    if (toLeft <= toAbove && toLeft <= toAboveLeft) return static_cast<uint8_t>(left);
    return static_cast<uint8_t>(toAbove <= toAboveLeft ? above : aboveLeft);
}

// The sum that FilterBest minimises, stopping early once it passes `limit`.
uint64_t AbsoluteSum(const uint8_t* bytes, size_t length, uint64_t limit) {
    uint64_t sum = 0;
    size_t i = 0;
    while (i < length) {
        const size_t end = i + 1024 < length ? i + 1024 : length;
        for (; i < end; ++i) {
            const int v = static_cast<int8_t>(bytes[i]);
            sum += static_cast<uint64_t>(v < 0 ? -v : v);
        }
        if (sum >= limit) break;
    }
    return sum;
}

}  // namespace

void Filter(Type type, const uint8_t* row, const uint8_t* prior, size_t length, int bytesPerPixel, uint8_t* out) {
    const size_t bpp = static_cast<size_t>(bytesPerPixel);
    const size_t lead = bpp < length ? bpp : length;
    if (!prior) {
        // Against an all-zero row above, Up is None, Paeth is Sub, Average halves the left byte.
        if (type == kUp) type = kNone;
        else if (type == kPaeth) type = kSub;
        if (type == kAverage) {
            for (size_t i = 0; i < lead; ++i) out[i] = row[i];
            for (size_t i = bpp; i < length; ++i) out[i] = static_cast<uint8_t>(row[i] - (row[i - bpp] >> 1));
            return;
        }
    }
    switch (type) {
    case kNone:
        std::memcpy(out, row, length);
        break;
    case kSub:
        for (size_t i = 0; i < lead; ++i) out[i] = row[i];
        for (size_t i = bpp; i < length; ++i) out[i] = static_cast<uint8_t>(row[i] - row[i - bpp]);
        break;
    case kUp:
        for (size_t i = 0; i < length; ++i) out[i] = static_cast<uint8_t>(row[i] - prior[i]);
        break;
    case kAverage:
        for (size_t i = 0; i < lead; ++i) out[i] = static_cast<uint8_t>(row[i] - (prior[i] >> 1));
        for (size_t i = bpp; i < length; ++i)
            out[i] = static_cast<uint8_t>(row[i] - ((row[i - bpp] + prior[i]) >> 1));
        break;
    case kPaeth:
        for (size_t i = 0; i < lead; ++i) out[i] = static_cast<uint8_t>(row[i] - prior[i]);
        for (size_t i = bpp; i < length; ++i)
            out[i] = static_cast<uint8_t>(row[i] - PaethPredictor(row[i - bpp], prior[i], prior[i - bpp]));
        break;
    }
}

bool Unfilter(uint8_t type, uint8_t* row, const uint8_t* prior, size_t length, int bytesPerPixel) {
    const size_t bpp = static_cast<size_t>(bytesPerPixel);
    const size_t lead = bpp < length ? bpp : length;
    switch (type) {
    case kNone:
        return true;
    case kSub:
        for (size_t i = bpp; i < length; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
        return true;
    case kUp:
        if (prior)
            for (size_t i = 0; i < length; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
        return true;
    case kAverage:
        if (!prior) {
            for (size_t i = bpp; i < length; ++i) row[i] = static_cast<uint8_t>(row[i] + (row[i - bpp] >> 1));
            return true;
        }
        for (size_t i = 0; i < lead; ++i) row[i] = static_cast<uint8_t>(row[i] + (prior[i] >> 1));
        for (size_t i = bpp; i < length; ++i)
            row[i] = static_cast<uint8_t>(row[i] + ((row[i - bpp] + prior[i]) >> 1));
        return true;
    case kPaeth:
        if (!prior) {
            for (size_t i = bpp; i < length; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
            return true;
        }
        for (size_t i = 0; i < lead; ++i) row[i] = static_cast<uint8_t>(row[i] + prior[i]);
        for (size_t i = bpp; i < length; ++i)
            row[i] = static_cast<uint8_t>(row[i] + PaethPredictor(row[i - bpp], prior[i], prior[i - bpp]));
        return true;
    default:
        return false;
    }
}

Type FilterBest(const uint8_t* row, const uint8_t* prior, size_t length, int bytesPerPixel, uint8_t* out,
                uint8_t* scratch) {
    Type best = kNone;
    uint8_t* bestBytes = out;
    uint8_t* trial = scratch;
    std::memcpy(bestBytes, row, length);
    uint64_t bestSum = AbsoluteSum(bestBytes, length, UINT64_MAX);
    // Without a row above, Up and Paeth repeat None and Sub.
    const int last = prior ? kPaeth : kAverage;
    for (int t = kSub; t <= last && bestSum > 0; ++t) {
        Filter(static_cast<Type>(t), row, prior, length, bytesPerPixel, trial);
        const uint64_t sum = AbsoluteSum(trial, length, bestSum);
        if (sum < bestSum) {
            bestSum = sum;
            best = static_cast<Type>(t);
            std::swap(bestBytes, trial);
        }
    }
    if (bestBytes != out) std::memcpy(out, bestBytes, length);
    return best;
}

}  // namespace PngFilters
