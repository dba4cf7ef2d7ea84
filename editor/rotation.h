#pragma once
// Quarter and half turns of 24-bit pixel rows as device-independent bitmaps store them: bottom-up,
// three bytes a pixel, each row padded to a multiple of 4 bytes.
//
// Codes (in screen terms, rows counted from the top): 90 turns a quarter clockwise, 270 a quarter
// counter-clockwise, 180 a half turn; any other code copies the pixels unchanged.
#include <cstddef>
#include <cstdint>

namespace Rotation {

struct Size {
    int width = 0, height = 0;
};

// The size after the turn: width and height swap for codes 90 and 270.
Size Turned(int width, int height, int code);

// Bytes of one 24-bit row of `width` pixels: ((3 width + 3) / 4) x 4.
size_t Stride24(int width);
// Bytes a rotation buffer of that many rows takes: stride x height plus a 64 KiB margin. 0 when the
// size is negative or would not fit in memory.
size_t BufferBytes24(int width, int height);

// Writes the turned image of `source` (width x height, bottom-up 24-bit rows) into `target`, whose
// size is Turned(width, height, code) with rows of Stride24 of its width. Source pixel (i, j),
// column i and row j counted from the bottom, goes to: code 90 -> (j, w-1-i); 180 ->
// (w-1-i, h-1-j); 270 -> (h-1-j, i); other -> (i, j).
void Turn24(const uint8_t* source, int width, int height, int code, uint8_t* target);

}  // namespace Rotation
