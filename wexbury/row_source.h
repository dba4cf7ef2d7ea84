#pragma once
// Pixels handed to the encoder a band of rows at a time, top to bottom, as blue-green-red bytes.
// The encoder never needs the whole picture at once, so a BMP file can be read band by band.
#include <cstddef>
#include <cstdint>

#include "wexbury/rgb_image.h"

namespace wexbury {

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Points rows[0..count-1] at rows first..first+count-1 (all inside the picture). The
    // pointers stay valid until the next call. False when the pixels cannot be had.
    virtual bool FetchRows(int first, int count, const uint8_t** rows) = 0;
};

// A picture already in memory.
class ImageRows : public RowSource {
public:
    explicit ImageRows(const RgbImage& image) : image_(image) {}
    int Width() const override { return image_.width; }
    int Height() const override { return image_.height; }
    bool FetchRows(int first, int count, const uint8_t** rows) override {
        for (int i = 0; i < count; ++i) rows[i] = image_.Row(first + i);
        return true;
    }

private:
    const RgbImage& image_;
};

}  // namespace wexbury
