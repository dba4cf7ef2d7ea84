#pragma once
// Decodes one MCU row as a JPEG decoder does (inverse DCT, samples rounded and clamped, the 2x2
// chroma interpolation, YCbCr to RGB) to measure the error a choice of blocks leaves against the
// source pixels. Only the pilot's sample rows are decoded (lambda_pilot.h): at the row's top and
// bottom the chroma interpolation repeats the row's own edge, where a decoder would look into the
// neighbouring rows.
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

class SampleDecoder {
public:
    // `lumaQuant` and `chromaQuant` natural order; kept by pointer.
    bool Allocate(int width, bool grayscale, const uint16_t* lumaQuant, const uint16_t* chromaQuant);

    // Decodes `blocks` and returns the squared error against `source` (`rows` rows of
    // blue-green-red pixels, 1 to 16), summed over the pixels and averaged over R, G and B
    // (in grayscale, against the source's luma).
    // The error of each MCU column goes to `columns` when given.
    double Error(const McuRowView& blocks, const uint8_t* const* source, int rows,
                 double* columns = nullptr);
    // The same for blocks that differ from earlier ones only in the MCU columns `changed`
    // flags: the other columns are not decoded again but keep their error in `columns`.
    double ErrorAfterChanges(const McuRowView& blocks, const uint8_t* const* source, int rows,
                             const double* columns, const uint8_t* changed);
    // MCU columns of a row.
    int Columns() const { return (width_ + mcuWidth_ - 1) / mcuWidth_; }

private:
    void DecodeBlock(const CoefBlock& block, const uint16_t* quant, uint8_t* out, int stride) const;
    double Measure(const McuRowView& blocks, const uint8_t* const* source, int rows,
                   double* columnsOut, const double* columnsIn, const uint8_t* changed);
    // Pixels [2 * first, 2 * end) of an upsampled row.
    void UpsampleRow(const uint8_t* near, const uint8_t* far, uint8_t* out, int first, int end) const;

    int width_ = 0, lumaStride_ = 0, chromaStride_ = 0, mcuWidth_ = 16;
    bool grayscale_ = false;
    const uint16_t* quant_[2] = {nullptr, nullptr};
    HeapBuffer<uint8_t> samples_;    // 16 luma rows, then 8 Cb and 8 Cr rows
    HeapBuffer<uint8_t> upsampled_;  // one row of Cb and one of Cr at full width
    HeapBuffer<uint8_t> decode_, measure_;  // per MCU column: blocks to decode, pixels to measure
};

}  // namespace wexbury
