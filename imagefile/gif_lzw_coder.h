#pragma once
// The LZW coding of GIF image data: greedy longest match, the clear code first, codes that grow a
// bit wider each time the dictionary passes a power of two, and a clear as soon as entry 4095 exists.
#include <cstddef>
#include <cstdint>
#include <vector>

// Appends a GIF image's table-based data to `out`: the LZW minimum code size byte, the code stream
// packed least-significant bit first into sub-blocks of up to 255 bytes, and the block terminator.
// `rootBits` is 8 or 4 (clear code 2^rootBits); every index must be below 2^rootBits (a larger
// one makes a wrong stream, but is never read or written out of bounds).
void AppendGifImageData(const uint8_t* indices, size_t count, int rootBits, std::vector<uint8_t>& out);
