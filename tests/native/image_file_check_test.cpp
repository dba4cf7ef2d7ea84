// What an image file's headers say before it is decoded: kind, picture size, and the limits.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

#include "imagefile/bmp_layout.h"
#include "imagefile/image_file_check.h"

namespace {

using ImageFileCheck::Kind;
using ImageFileCheck::Verdict;
using Bytes = std::vector<uint8_t>;

ImageFileCheck::Result Check(const Bytes& b) { return ImageFileCheck::Check(b.data(), b.size()); }

void Put32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A 24-bit BMP as our writers make it.
Bytes Bmp24(int width, int height) {
    const uint32_t pixels = BmpLayout::Stride(width, 24) * uint32_t(height < 0 ? -height : height);
    Bytes b(54 + pixels, 0);
    auto file = BmpLayout::FileHeader(uint32_t(b.size()), 54);
    auto info = BmpLayout::InfoHeader(width, height, 24);
    std::memcpy(b.data(), file.data(), file.size());
    std::memcpy(b.data() + 14, info.data(), info.size());
    return b;
}

// A JPEG made by libjpeg itself.
Bytes Jpeg(int width, int height, bool progressive) {
    jpeg_compress_struct c{};
    jpeg_error_mgr error{};
    c.err = jpeg_std_error(&error);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = JDIMENSION(width);
    c.image_height = JDIMENSION(height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * 3, 128);
    while (c.next_scanline < c.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes b(out, out + size);
    std::free(out);
    return b;
}

int AppendToBytes(GifFileType* gif, const GifByteType* data, int length) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

// A GIF made by giflib, its one image at (left, top) on a screen of its own size.
Bytes Gif(int screenWidth, int screenHeight, int left, int top, int width, int height) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendToBytes, &error);
    GifColorType colours[2] = {{0, 0, 0}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, screenWidth, screenHeight, 1, 0, map);
    const GifByteType comment[] = "made by giflib";
    EGifPutComment(gif, reinterpret_cast<const char*>(comment));
    EGifPutImageDesc(gif, left, top, width, height, false, nullptr);
    std::vector<GifPixelType> line(size_t(width), 1);
    for (int y = 0; y < height; ++y) EGifPutLine(gif, line.data(), width);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

TEST(ImageFileCheck, FilesOfTheThreeKindsWithTheirSizes) {
    auto r = Check(Bmp24(640, 480));
    EXPECT_EQ(r.verdict, Verdict::kFits);
    EXPECT_EQ(r.kind, Kind::kBmp);
    EXPECT_EQ(r.width, 640);
    EXPECT_EQ(r.height, 480);
    r = Check(Bmp24(7, -5));  // rows stored top-down
    EXPECT_EQ(r.verdict, Verdict::kFits);
    EXPECT_EQ(r.height, 5);

    for (bool progressive : {false, true}) {
        r = Check(Jpeg(33, 17, progressive));
        EXPECT_EQ(r.verdict, Verdict::kFits);
        EXPECT_EQ(r.kind, Kind::kJpeg);
        EXPECT_EQ(r.width, 33);
        EXPECT_EQ(r.height, 17);
    }

    r = Check(Gif(40, 30, 0, 0, 40, 30));
    EXPECT_EQ(r.verdict, Verdict::kFits);
    EXPECT_EQ(r.kind, Kind::kGif);
    EXPECT_EQ(r.width, 40);
    EXPECT_EQ(r.height, 30);
    // An image reaching beyond its screen makes the picture that large.
    r = Check(Gif(10, 10, 5, 8, 20, 4));
    EXPECT_EQ(r.width, 25);
    EXPECT_EQ(r.height, 12);
}

TEST(ImageFileCheck, HugePicturesAreRefusedBeforeDecoding) {
    // A large picture that is held; the largest one, plus one pixel row or column, is not (the
    // largest itself is tested through a PNG header, which needs no pixels behind it).
    Bytes fits = Bmp24(4096, 4096);
    EXPECT_EQ(Check(fits).verdict, Verdict::kFits);
    Bytes bmp = Bmp24(2, 2);
    Put32(bmp, 18, 7680);
    Put32(bmp, 22, 4321);
    EXPECT_EQ(Check(bmp).verdict, Verdict::kTooLarge);
    Put32(bmp, 18, 7681);
    Put32(bmp, 22, 4320);
    EXPECT_EQ(Check(bmp).verdict, Verdict::kTooLarge);
    Put32(bmp, 18, 100000);  // a header claiming 100000 x 4097 over a few bytes of pixels
    EXPECT_EQ(Check(bmp).verdict, Verdict::kTooLarge);
    Put32(bmp, 18, 40000);
    Put32(bmp, 22, 1);  // few pixels, but a side beyond 32767
    EXPECT_EQ(Check(bmp).verdict, Verdict::kTooLarge);

    Bytes jpeg = Jpeg(8, 8, false);
    for (size_t i = 2; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {  // the frame header: height, then width
            jpeg[i + 5] = jpeg[i + 6] = jpeg[i + 7] = jpeg[i + 8] = 0xFF;
            break;
        }
    EXPECT_EQ(Check(jpeg).verdict, Verdict::kTooLarge);

    EXPECT_EQ(Check(Gif(65535, 65535, 0, 0, 2, 2)).verdict, Verdict::kTooLarge);
    EXPECT_EQ(Check(Gif(2, 2, 65000, 0, 2, 2)).verdict, Verdict::kTooLarge);

    // A file larger than the largest picture's BMP is not read at all.
    Bytes big(ImageFileCheck::kMaxFileBytes + 1, 0);
    big[0] = 'B';
    big[1] = 'M';
    EXPECT_EQ(Check(big).verdict, Verdict::kTooLarge);
}

TEST(ImageFileCheck, DamagedOrForeignFilesAreNoImages) {
    const Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    EXPECT_EQ(Check(png).verdict, Verdict::kNotAnImage);  // a PNG cut short inside its header
    EXPECT_EQ(Check(png).kind, Kind::kPng);
    const Bytes text = {'P', 'N', 'G', ' ', 'f', 'i', 'l', 'e'};
    EXPECT_EQ(Check(text).kind, Kind::kUnknown);
    EXPECT_EQ(ImageFileCheck::Check(nullptr, 0).verdict, Verdict::kNotAnImage);

    Bytes bmp = Bmp24(16, 16);
    bmp.resize(bmp.size() - 1);  // the last row cut short
    EXPECT_EQ(Check(bmp).verdict, Verdict::kNotAnImage);
    bmp.resize(30);  // cut inside the info header
    EXPECT_EQ(Check(bmp).verdict, Verdict::kNotAnImage);
    Bytes zeroWidth = Bmp24(4, 4);
    Put32(zeroWidth, 18, 0);
    EXPECT_EQ(Check(zeroWidth).verdict, Verdict::kNotAnImage);
    Bytes oddDepth = Bmp24(4, 4);
    oddDepth[28] = 7;
    EXPECT_EQ(Check(oddDepth).verdict, Verdict::kNotAnImage);

    Bytes jpeg = Jpeg(8, 8, false);
    jpeg.resize(20);  // before the frame header
    EXPECT_EQ(Check(jpeg).verdict, Verdict::kNotAnImage);
    Bytes gif = Gif(4, 4, 0, 0, 4, 4);
    gif.resize(20);  // inside the comment, before the image
    EXPECT_EQ(Check(gif).verdict, Verdict::kNotAnImage);
    const Bytes trailerOnly = {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0, 0x3B};
    EXPECT_EQ(Check(trailerOnly).verdict, Verdict::kNotAnImage);
}

}  // namespace
