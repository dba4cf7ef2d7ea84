#pragma once
// Half-resolution chroma fitted to the way decoders bring it back. A decoder does not repeat each
// chroma sample over its 2x2 square: it interpolates, each full-resolution sample taking 3/4 of the
// nearest chroma sample and 1/4 of the next one, in each direction. The plain 2x2 average is the
// best fit for repetition, not for interpolation; the least-squares fit for interpolation is the
// interpolation's transpose applied to the full-resolution chroma, then the inverse of
// (transpose * interpolation), whose taps fall by -1/3 a sample. Three taps a side capture it.
// On screenshots this lowers the error that subsampling leaves by a fifth to a third.
#include <cstdint>

#include "wexbury/chroma_fit_steps.h"
#include "wexbury/heap_buffer.h"

namespace wexbury {

// Source rows the fit of one chroma row band needs above and below the band's own rows.
inline constexpr int kChromaFitMargin = 7;

class ChromaFit {
public:
    // `paddedWidth` even: the luma samples of a row including the MCU padding.
    bool Allocate(int width, int paddedWidth);

    // One band of `chromaRows` (at most 8) chroma rows whose first luma row is `top`. `row(v)` gives source
    // row v (blue-green-red) for v from top - kChromaFitMargin to top + 2 * chromaRows +
    // kChromaFitMargin - 1, clamped by the caller to the picture. Writes paddedWidth / 2 samples a
    // row, centred on zero, `stride` floats apart.
    // With `averages`, also the plain 2x2 averages of the band, for Averaged().
    template <class RowAt>
    void Band(int top, int chromaRows, RowAt&& row, float* cb, float* cr, int stride,
              bool averages = false) {
        for (int v = top - kChromaFitMargin; v < top + 2 * chromaRows + kChromaFitMargin; ++v)
            if (cachedRow_[Slot(v)] != v) FilterSourceRow(v, row(v));
        FitColumns(top, chromaRows, 0, cb, stride);
        FitColumns(top, chromaRows, 1, cr, stride);
        if (averages)
            for (int r = 0; r < chromaRows; ++r)
                AverageRow(row(top + 2 * r), row(top + 2 * r + 1), r);
    }

    // After a Band with `averages`: its rows' plain 2x2 averages, plane 0 (Cb) or 1 (Cr), rows
    // AveragedStride() floats apart, centred on zero like the fit.
    const float* Averaged(int plane) const { return averaged_.data() + size_t(plane) * size_t(pairs_); }
    int AveragedStride() const { return 2 * pairs_; }

private:
    static constexpr int kMaxBandRows = 8;
    static constexpr int kSlots = 32;  // more than one band's window, a power of two
    static int Slot(int v) { return (v + 4 * kSlots) & (kSlots - 1); }

    // Converts one source row to Cb and Cr and fits it horizontally into its slot.
    void FilterSourceRow(int v, const uint8_t* pixels);
    // The vertical fit of a band's chroma rows, for plane 0 (Cb) or 1 (Cr).
    void FitColumns(int top, int chromaRows, int plane, float* out, int stride);

    // The plain 2x2 averages of one band row, both planes, into averaged_.
    void AverageRow(const uint8_t* upper, const uint8_t* lower, int r);

    int width_ = 0, pairs_ = 0;
    int cachedRow_[kSlots];
    ChromaFitSteps steps_{};
    HeapBuffer<int32_t> sums_;    // one row's weighted sums of blue, green and red, three planes
    HeapBuffer<float> full_;      // one row of full-resolution chroma, two planes
    HeapBuffer<float> filtered_;  // kSlots rows of pairs_ samples, two planes
    HeapBuffer<float> transposed_;  // the transpose's output for a band's rows and 3 each side
    HeapBuffer<float> averaged_;    // a band's plain averages, two planes
};

}  // namespace wexbury
