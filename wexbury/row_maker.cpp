#include "wexbury/row_maker.h"

#include <cmath>

#include "wexbury/colour_convert.h"

namespace wexbury {
namespace {

// How the error in R, G and B weighs a unit of error in each component, luma being 1: the colour
// conversion's coefficients squared, summed over the channels and divided by three.
constexpr float kToRgb[3] = {1.0f, 1.087f, 0.825f};

// How much a unit of error in each chroma coefficient shows in R, G and B, natural order. The
// decoder's interpolation spreads a half-resolution sample over the pixels around it: a flat
// error four times (its 2x2 square), one alternating from sample to sample only a quarter as
// much. Along each axis a cosine of frequency w keeps 1.25 + 0.75 cos w of its energy per
// sample, twice over for the two pixels a sample makes.
void ChromaErrorWeights(float toRgb, float weights[64]) {
    float axis[8];
    for (int u = 0; u < 8; ++u) axis[u] = 1.25f + 0.75f * std::cos(float(u) * 3.14159265f / 8);
    for (int v = 0; v < 8; ++v)
        for (int u = 0; u < 8; ++u) weights[v * 8 + u] = toRgb * axis[u] * axis[v];
}

}  // namespace

ComponentWeights::ComponentWeights(const uint16_t lumaQuant[64], const uint16_t chromaQuant[64])
    : luma_(lumaQuant), chroma_(chromaQuant) {
    for (float& w : error_[0]) w = 1.0f;
    ChromaErrorWeights(kToRgb[1], error_[1]);
    ChromaErrorWeights(kToRgb[2], error_[2]);
}

TrellisWeights ComponentWeights::At(float scale, int component) const {
    return MakeTrellisWeights(component == 0 ? luma_ : chroma_, luma_, error_[component], scale);
}

bool RowMaker::Allocate() {
    const int width = image_.Width();
    mcuSide_ = grayscale_ ? 8 : 16;
    strides_[0] = layout_.mcusWide * mcuSide_;
    strides_[1] = strides_[2] = strides_[0] / 2;
    const size_t lumaFloats = size_t(strides_[0]) * size_t(mcuSide_);
    const size_t chromaFloats = grayscale_ ? 0 : size_t(strides_[1]) * 8;
    if (!strip_.Allocate(lumaFloats + 2 * chromaFloats)) return false;
    planes_[0] = strip_.data();
    planes_[1] = planes_[0] + lumaFloats;
    planes_[2] = planes_[1] + chromaFloats;
    chromaBlocksWide_ = grayscale_ ? 0 : layout_.components[1].blocksWide;
    if (fit_ && !(chroma_.Allocate(width, strides_[0]) &&
                  plain_.Allocate(size_t(chromaBlocksWide_) * 2) &&
                  plainExact_.Allocate(size_t(chromaBlocksWide_) * 2 * 64)))
        return false;
    return true;
}

bool RowMaker::Make(int my, McuRowBlocks& row, bool plain) {
    const int height = image_.Height(), width = image_.Width();
    const int top = my * mcuSide_;
    // The band and, for the chroma fit, its margins; past the picture the edge rows repeat.
    const int margin = fit_ ? kChromaFitMargin : 0;
    const int first = top - margin > 0 ? top - margin : 0;
    const int end = top + mcuSide_ + margin < height ? top + mcuSide_ + margin : height;
    const uint8_t* fetched[16 + 2 * kChromaFitMargin];
    if (!image_.FetchRows(first, end - first, fetched)) return false;
    auto sourceRow = [&](int v) {
        return fetched[(v < first ? first : v >= end ? end - 1 : v) - first];
    };
    for (int r = 0; r < mcuSide_; ++r) source_[r] = sourceRow(top + r);
    float* const* planes = planes_;
    const int lumaStride = strides_[0], chromaStride = strides_[1];
    if (grayscale_) {
        for (int r = 0; r < 8; ++r)
            ConvertRowLuma(sourceRow(top + r), width, lumaStride, planes[0] + r * lumaStride);
    } else if (fit_) {
        for (int r = 0; r < 16; ++r)
            ConvertRowLuma(sourceRow(top + r), width, lumaStride, planes[0] + r * lumaStride);
        chroma_.Band(top, 8, sourceRow, planes[1], planes[2], chromaStride, plain);
    } else {
        for (int r = 0; r < 16; r += 2) {
            ConvertRowPair420(sourceRow(top + r), sourceRow(top + r + 1), width, lumaStride,
                              planes[0] + r * lumaStride, planes[0] + (r + 1) * lumaStride,
                              planes[1] + (r / 2) * chromaStride,
                              planes[2] + (r / 2) * chromaStride);
        }
    }
    size_t count = 0;
    for (int c = 0; c < layout_.componentCount; ++c) {
        const Component& comp = layout_.components[c];
        row.first[c] = count;
        for (int v = 0; v < comp.vSamp && my * comp.vSamp + v < comp.realHigh; ++v) {
            const float* rowStart = planes[c] + size_t(v) * 8 * size_t(strides_[c]);
            for (int bx = 0; bx < comp.realWide; ++bx, ++count) {
                float* exact = row.exact.data() + 64 * count;
                dct_(rowStart + 8 * bx, strides_[c], divisors_[comp.quantTable],
                     row.blocks[count], exact);
                if (plain && fit_ && c > 0) {
                    const size_t at = size_t(c - 1) * chromaBlocksWide_ + bx;
                    dct_(chroma_.Averaged(c - 1) + 8 * bx, chroma_.AveragedStride(),
                         divisors_[1], plain_[at], plainExact_.data() + 64 * at);
                }
            }
        }
        row.count[c] = count - row.first[c];
    }
    return true;
}

}  // namespace wexbury
