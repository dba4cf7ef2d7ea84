#pragma once
// A whole picture in memory: rows of blue-green-red bytes, top row first.
#include <cstddef>
#include <cstdint>

#include "wexbury/heap_buffer.h"

namespace wexbury {

struct RgbImage {
    int width = 0;
    int height = 0;
    const uint8_t* topRow = nullptr;
    ptrdiff_t stride = 0;        // bytes from one row to the next one down
    HeapBuffer<uint8_t> storage; // what topRow points into

    const uint8_t* Row(int y) const { return topRow + static_cast<ptrdiff_t>(y) * stride; }
};

}  // namespace wexbury
