#pragma once
// Decodes one MCU row as a JPEG decoder does (inverse DCT, samples rounded and clamped, the 2x2
// chroma interpolation, YCbCr to RGB) to measure the error a choice of blocks leaves against the
// source pixels. Only the pilot's sample rows are decoded (lambda_pilot.h): at the row's top and
// bottom the chroma interpolation repeats the row's own edge, where a decoder would look into the
// neighbouring rows.
#include <cstddef>
#include <cstdint>

#include "wexbury/coefficient_block.h"
#include "wexbury/heap_buffer.h"

namespace wexbury {

// The quantised blocks of one MCU row: `lumaRows` rows (1 or 2) of `lumaWide` luma blocks, then
// `chromaWide` Cb and Cr blocks (none in grayscale).
struct McuRowView {
    const CoefBlock* luma;
    int lumaRows, lumaWide;
    const CoefBlock* cb;
    const CoefBlock* cr;
    int chromaWide;
};

// The source pixels of an MCU row, `rows` rows (1 to 16) of each of the blue, green and red
// planes: plane p's row y begins at base + (p * rows + y) * width. Measured many times over, so
// split from the source's interleaved rows once (SplitPlanes).
struct SourcePlanes {
    const uint8_t* base;
    int width, rows;
    const uint8_t* Row(int plane, int y) const { return base + (size_t(plane) * rows + y) * width; }
};

// Splits `rows` rows of blue-green-red pixels into `out` (3 * rows * width bytes), as above.
void SplitPlanes(const uint8_t* const* source, int rows, int width, uint8_t* out);

// The steps a processor may do faster: an 8x8 inverse DCT of dequantised coefficients (natural
// order) into samples; one row of the 2x2 interpolation (pixels [2 * first, 2 * end) of a
// row of `samples` chroma values); and the squared error of `count` decoded pixels against their
// source (sum over the three channels).
using InverseDctFn = void (*)(const float coef[64], uint8_t* out, int stride);
using UpsampleRowFn = void (*)(const uint8_t* near, const uint8_t* far, uint8_t* out, int samples,
                               int first, int end);
using ColourErrorFn = int64_t (*)(const uint8_t* y, const uint8_t* cb, const uint8_t* cr,
                                  const uint8_t* const bgr[3], int count);

void InverseDctPortable(const float coef[64], uint8_t* out, int stride);
void UpsampleRowPortable(const uint8_t* near, const uint8_t* far, uint8_t* out, int samples,
                         int first, int end);
int64_t ColourErrorPortable(const uint8_t* y, const uint8_t* cb, const uint8_t* cr,
                            const uint8_t* const bgr[3], int count);
// SSE2 versions; null when this build or this processor has none. They give exactly what the
// portable ones give.
InverseDctFn InverseDctSse2();
UpsampleRowFn UpsampleRowSse2();
ColourErrorFn ColourErrorSse2();
// The inverse DCT's basis, at[n * 8 + u] = C(u) / 2 * cos((2n + 1) u pi / 16), and the same
// with n and u swapped, for the SSE2 file, which may not compute anything before the processor
// check.
const float* InverseDctBasis();
const float* InverseDctBasisAcross();

class SampleDecoder {
public:
    // `lumaQuant` and `chromaQuant` natural order; kept by pointer.
    bool Allocate(int width, bool grayscale, const uint16_t* lumaQuant, const uint16_t* chromaQuant);

    // Decodes `blocks` and returns the squared error against `source`, summed over the pixels and
    // averaged over R, G and B (in grayscale, against the source's luma).
    // The error of each MCU column goes to `columns` when given.
    double Error(const McuRowView& blocks, const SourcePlanes& source, double* columns = nullptr);
    // The same for blocks that differ from earlier ones only in the MCU columns `changed`
    // flags: the other columns are not decoded again but keep their error in `columns`.
    double ErrorAfterChanges(const McuRowView& blocks, const SourcePlanes& source,
                             const double* columns, const uint8_t* changed);
    // After Error: the error with other chroma blocks in place of the row's (`chromaWide` each),
    // its luma not decoded again.
    double ErrorWithChroma(const CoefBlock* cb, const CoefBlock* cr, const SourcePlanes& source);
    // MCU columns of a row.
    int Columns() const { return (width_ + mcuWidth_ - 1) / mcuWidth_; }

private:
    void DecodeBlock(const CoefBlock& block, const uint16_t* quant, uint8_t* out, int stride) const;
    // Which columns to measure, and whose blocks to decode for them.
    void SelectColumns(const uint8_t* changed);
    void DecodeLuma(const McuRowView& blocks);
    void DecodeChroma(const CoefBlock* cb, const CoefBlock* cr, int chromaWide);
    double Measure(const SourcePlanes& source, double* columnsOut, const double* columnsIn);

    int width_ = 0, lumaStride_ = 0, chromaStride_ = 0, mcuWidth_ = 16, chromaWide_ = 0;
    bool grayscale_ = false;
    const uint16_t* quant_[2] = {nullptr, nullptr};
    InverseDctFn inverseDct_ = nullptr;
    UpsampleRowFn upsampleRow_ = nullptr;
    ColourErrorFn colourError_ = nullptr;
    HeapBuffer<uint8_t> samples_;    // 16 luma rows, then 8 Cb and 8 Cr rows
    HeapBuffer<uint8_t> upsampled_;  // one row of Cb and one of Cr at full width
    HeapBuffer<uint8_t> decode_, measure_;  // per MCU column: blocks to decode, pixels to measure
};

}  // namespace wexbury
