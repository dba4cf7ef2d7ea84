// GIF saves straight from a capture's pixels: the 16-bit side limit, and the file being the one the
// former route through an 8-bit BMP file gave, read back by giflib.
#include "imagefile/gif_from_pixels.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "imagefile/bmp_layout.h"
#include "imagefile/gif_encoder.h"
#include "imagefile/palette_builder.h"

namespace {

// Rows of 32-bit pixels (blue, green, red, unused) with `colours` distinct colours.
std::vector<uint8_t> Pixels(int width, int height, int colours) {
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    for (int i = 0; i < width * height; ++i) {
        const unsigned c = unsigned(i * 7919) % unsigned(colours);
        pixels[4 * size_t(i)] = uint8_t(c * 3);
        pixels[4 * size_t(i) + 1] = uint8_t(c >> 2);
        pixels[4 * size_t(i) + 2] = uint8_t(c * 11);
        pixels[4 * size_t(i) + 3] = 0x55;  // the unused byte never matters
    }
    return pixels;
}

struct MemoryReader {
    const std::vector<uint8_t>* bytes;
    size_t at = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t n = std::min(size_t(wanted), reader->bytes->size() - reader->at);
    std::copy_n(reader->bytes->data() + reader->at, n, out);
    reader->at += n;
    return int(n);
}

TEST(GifSideLimit, SidesUpTo65535AreAcceptedAndLargerOnesRefused) {
    EXPECT_TRUE(GifCanHold(1, 1));
    EXPECT_TRUE(GifCanHold(65535, 1));
    EXPECT_TRUE(GifCanHold(1, 65535));
    EXPECT_FALSE(GifCanHold(65536, 1));
    EXPECT_FALSE(GifCanHold(1, 65536));
    EXPECT_FALSE(GifCanHold(70000, 100));  // what the Resize dialog allows
    EXPECT_FALSE(GifCanHold(0, 10));
    EXPECT_FALSE(GifCanHold(10, -1));
    const std::string message = GifTooLargeMessage(70000, 100);
    EXPECT_NE(message.find("65535"), std::string::npos) << message;
    EXPECT_NE(message.find("70000 x 100"), std::string::npos) << message;
}

TEST(GifSideLimit, TooWideAnImageGivesNoBytesAtAll) {
    // A 16-bit header field would keep only the low bits of 65536: a wrong file is worse than none.
    std::vector<uint8_t> pixels = Pixels(65536, 1, 3);
    EXPECT_TRUE(EncodeGifFromPixels(pixels.data(), 65536, 1, 65536 * 4).empty());
    EXPECT_FALSE(EncodeGifFromPixels(pixels.data(), 65535, 1, 65536 * 4).empty());
}

TEST(GifFromPixels, SameFileAsThroughAnEightBitBmpAndGiflibReadsEveryColour) {
    for (int colours : {5, 256, 3000}) {  // exact table, full exact table, fitted palette
        const int width = 37, height = 23;
        std::vector<uint8_t> pixels = Pixels(width, height, colours);
        std::vector<uint8_t> gif = EncodeGifFromPixels(pixels.data(), width, height, size_t(width) * 4);

        PaletteBuilder::Indexed indexed = PaletteBuilder::Build(pixels.data(), width, height, size_t(width) * 4);
        std::vector<uint8_t> bmp = BmpLayout::Encode8Bit(width, height, indexed.colorTable, indexed.indices);
        std::vector<uint8_t> throughBmp;
        ASSERT_EQ(EncodeGifFromBmpBytes(bmp.data(), bmp.size(), throughBmp), PaletteBmpStatus::Ok);
        EXPECT_EQ(gif, throughBmp) << colours << " colours";

        MemoryReader reader{&gif};
        int error = 0;
        GifFileType* file = DGifOpen(&reader, ReadFromMemory, &error);
        ASSERT_NE(file, nullptr) << error;
        ASSERT_EQ(DGifSlurp(file), GIF_OK);
        ASSERT_EQ(file->SWidth, width);
        ASSERT_EQ(file->SHeight, height);
        const GifByteType* raster = file->SavedImages[0].RasterBits;
        for (int i = 0; i < width * height && colours <= 256; ++i) {
            const GifColorType& c = file->SColorMap->Colors[raster[i]];
            ASSERT_EQ(c.Blue, pixels[4 * size_t(i)]) << i;
            ASSERT_EQ(c.Green, pixels[4 * size_t(i) + 1]) << i;
            ASSERT_EQ(c.Red, pixels[4 * size_t(i) + 2]) << i;
        }
        DGifCloseFile(file, &error);
    }
}

}  // namespace
