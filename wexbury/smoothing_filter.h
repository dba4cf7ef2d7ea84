#pragma once
// The "Smoothing" option: a light 3x3 low-pass over the pixels before encoding, which takes the
// edge off dithering patterns and noise so they cost fewer bits. Each of the eight neighbours
// weighs kSmoothingFactor / 1024 and the pixel itself the rest, on the scale of the IJG encoder's
// smoothing factor (1..100); 30 is a moderate setting.
#include "wexbury/heap_buffer.h"
#include "wexbury/row_source.h"

namespace wexbury {

constexpr int kSmoothingFactor = 30;

// The rows of another source, smoothed. Past the picture's edges the border pixels repeat.
class SmoothedRows : public RowSource {
public:
    explicit SmoothedRows(RowSource& inner) : inner_(inner) {}
    int Width() const override { return inner_.Width(); }
    int Height() const override { return inner_.Height(); }
    bool FetchRows(int first, int count, const uint8_t** rows) override;

private:
    RowSource& inner_;
    HeapBuffer<uint8_t> band_;
};

}  // namespace wexbury
