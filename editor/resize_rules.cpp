#include "editor/resize_rules.h"

#include <climits>
#include <cstdint>

namespace ResizeRules {

namespace {

int Proportional(int value, int numerator, int denominator) {
    if (denominator <= 0 || numerator < 0) return 0;
    int64_t result = static_cast<int64_t>(value) * numerator / denominator;
    if (result > INT_MAX) return INT_MAX;
    if (result < INT_MIN) return INT_MIN;
    return static_cast<int>(result);
}

}  // namespace

Verdict Check(int width, int height) {
    if (width <= 0 || height <= 0) return Verdict::kNotPositive;
    if (static_cast<long long>(width) * height > kMaximumPixels) return Verdict::kTooBig;
    return Verdict::kAccepted;
}

int HeightForWidth(int width, int origWidth, int origHeight) {
    return Proportional(width, origHeight, origWidth);
}

int WidthForHeight(int height, int origWidth, int origHeight) {
    return Proportional(height, origWidth, origHeight);
}

Size Settle(Size s, bool widthEdited, int origWidth, int origHeight) {
    // After the first answer each further rewrite can only shrink a field (both ways truncate), so
    // the exchange ends within a few rounds; the bound is a guard, never reached in practice.
    for (int round = 0; round < 64; ++round) {
        if (widthEdited) {
            int height = HeightForWidth(s.width, origWidth, origHeight);
            if (height == s.height) break;
            s.height = height;
        } else {
            int width = WidthForHeight(s.height, origWidth, origHeight);
            if (width == s.width) break;
            s.width = width;
        }
        widthEdited = !widthEdited;
    }
    return s;
}

}  // namespace ResizeRules
