#pragma once
// The rules of the Resize dialog: what OK accepts, and how the two fields answer each other while
// "Keep ratio" is checked.

namespace ResizeRules {

// The largest image a resize may make, in pixels.
constexpr long long kMaximumPixels = 9000000;

enum class Verdict {
    kAccepted,
    kNotPositive,  // "Neither number must be big than zero."
    kTooBig,       // "Too big Bitmap!"
};

// Width and height as typed; the product is taken in 64 bits, so no pair can overflow into
// acceptance.
Verdict Check(int width, int height);

// The height that keeps the ratio origHeight : origWidth for `width` (truncating), and the width
// for `height`. Kept within the range of an int; 0 when the original size is degenerate.
int HeightForWidth(int width, int origWidth, int origHeight);
int WidthForHeight(int height, int origWidth, int origHeight);

struct Size {
    int width, height;
    bool operator==(const Size& o) const { return width == o.width && height == o.height; }
};

// The fields once they have stopped answering each other. Each rewritten field counts as an edit
// of that field, so after the width is edited the height follows it, the width follows that
// height, and so on until neither changes (805 on an 800 x 600 image settles at 804 x 603).
// `widthEdited` tells which field the user changed.
Size Settle(Size typed, bool widthEdited, int origWidth, int origHeight);

}  // namespace ResizeRules
