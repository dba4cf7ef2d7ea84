// EncodeGifFromBmp through real files: BMPs built here byte by byte, GIFs read back with giflib.
#include "imagefile/gif_encoder.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {

namespace fs = std::filesystem;

// A palette BMP as a writer lays it out: bottom-up rows, their padding filled with 0xEE, so that a
// reader that takes padding for pixels shows.
struct TestBmp {
    TestBmp(int width, int height, int bits) : width(width), height(height), bits(bits) {}
    int width, height, bits;
    std::vector<PaletteColor> palette;  // 2^bits entries
    std::vector<uint8_t> indices;       // top row first
    uint32_t widthField = 0, heightField = 0;  // biWidth/biHeight when not just width/height

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out;
        auto u16 = [&](uint32_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
        auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
        const size_t rowBytes = bits == 8 ? size_t(width) : bits == 4 ? size_t(width + 1) / 2 : size_t(width) * 3;
        const size_t stride = (rowBytes + 3) & ~size_t(3);
        const uint32_t offset = uint32_t(54 + 4 * palette.size());
        out.push_back('B'); out.push_back('M');
        u32(uint32_t(offset + stride * height)); u32(0); u32(offset);
        u32(40); u32(widthField ? widthField : width); u32(heightField ? heightField : height);
        u16(1); u16(bits); u32(0); u32(uint32_t(stride * height)); u32(2835); u32(2835);
        u32(uint32_t(palette.size())); u32(0);
        for (const PaletteColor& c : palette) { out.push_back(c.blue); out.push_back(c.green); out.push_back(c.red); out.push_back(0); }
        for (int stored = 0; stored < height; ++stored) {
            std::vector<uint8_t> row(stride, 0xEE);
            const uint8_t* pixels = indices.data() + size_t(height - 1 - stored) * width;
            for (int x = 0; x < width && bits == 8; ++x) row[x] = pixels[x];
            for (int x = 0; x < width && bits == 4; ++x)
                row[x / 2] = x % 2 ? uint8_t((row[x / 2] & 0xF0) | pixels[x]) : uint8_t(pixels[x] << 4 | 0x0E);
            out.insert(out.end(), row.begin(), row.end());
        }
        return out;
    }
};

TestBmp RandomBmp(int width, int height, int bits, unsigned seed) {
    std::mt19937 random(seed);
    TestBmp bmp{width, height, bits};
    for (int i = 0; i < (1 << bits); ++i)
        bmp.palette.push_back({uint8_t(random()), uint8_t(random()), uint8_t(random())});
    for (int i = 0; i < width * height; ++i) bmp.indices.push_back(uint8_t(random() % (1u << bits)));
    return bmp;
}

struct DecodedGif {
    int width = 0, height = 0;
    std::vector<PaletteColor> palette;
    std::vector<uint8_t> indices;
};

class GifFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) /
               ("gif_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const char* name) const { return (dir_ / name).string(); }

    static void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    static std::vector<uint8_t> Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // Writes the BMP, encodes it and reads the GIF back with giflib.
    DecodedGif EncodeAndDecode(const TestBmp& bmp) {
        Write(Path("in.bmp"), bmp.Bytes());
        EncodeGifFromBmp(Path("in.bmp"), Path("out.gif"));
        DecodedGif decoded;
        int error = 0;
        GifFileType* gif = DGifOpenFileName(Path("out.gif").c_str(), &error);
        if (!gif) { ADD_FAILURE() << "giflib cannot open the GIF, error " << error; return decoded; }
        if (DGifSlurp(gif) != GIF_OK || gif->ImageCount != 1 || !gif->SColorMap) {
            ADD_FAILURE() << "giflib cannot read the GIF, error " << gif->Error;
        } else {
            decoded.width = gif->SWidth;
            decoded.height = gif->SHeight;
            for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
                const GifColorType& c = gif->SColorMap->Colors[i];
                decoded.palette.push_back({c.Red, c.Green, c.Blue});
            }
            const SavedImage& image = gif->SavedImages[0];
            decoded.indices.assign(image.RasterBits, image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
        }
        DGifCloseFile(gif, &error);
        return decoded;
    }

    void ExpectRoundTrip(const TestBmp& bmp) {
        const DecodedGif gif = EncodeAndDecode(bmp);
        EXPECT_EQ(gif.width, bmp.width);
        EXPECT_EQ(gif.height, bmp.height);
        ASSERT_EQ(gif.palette.size(), bmp.palette.size());
        for (size_t i = 0; i < gif.palette.size(); ++i) {
            EXPECT_EQ(gif.palette[i].red, bmp.palette[i].red) << i;
            EXPECT_EQ(gif.palette[i].green, bmp.palette[i].green) << i;
            EXPECT_EQ(gif.palette[i].blue, bmp.palette[i].blue) << i;
        }
        EXPECT_EQ(gif.indices, bmp.indices);
    }

    fs::path dir_;
};

TEST_F(GifFileTest, OnePixelImageIsExactlyTheseBytes) {
    TestBmp bmp = RandomBmp(1, 1, 8, 1);
    bmp.indices = {5};
    Write(Path("in.bmp"), bmp.Bytes());
    EncodeGifFromBmp(Path("in.bmp"), Path("out.gif"));

    std::vector<uint8_t> expected = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0xF7, 0, 0};
    for (const PaletteColor& c : bmp.palette) expected.insert(expected.end(), {c.red, c.green, c.blue});
    expected.insert(expected.end(), {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 8});
    // Clear 256, pixel 5, end 257 at 9 bits each, least-significant bit first: 27 bits in 4 bytes.
    expected.insert(expected.end(), {4, 0x00, 0x0B, 0x04, 0x04, 0x00, 0x3B});
    EXPECT_EQ(Read(Path("out.gif")), expected);
}

TEST_F(GifFileTest, EightBitRowsSkipTheirPadding) {
    for (int width : {1, 3, 4, 5}) {  // padding 3, 1, 0, 3
        SCOPED_TRACE(width);
        ExpectRoundTrip(RandomBmp(width, 3, 8, unsigned(width)));
    }
}

TEST_F(GifFileTest, FourBitRowsUnpackHighNibbleFirst) {
    const TestBmp bmp = RandomBmp(9, 4, 4, 9);  // 5 bytes of pixels, stride 8
    ASSERT_EQ(bmp.Bytes().size(), 54 + 64 + 4 * 8u);
    ExpectRoundTrip(bmp);
    Write(Path("in.bmp"), bmp.Bytes());
    EncodeGifFromBmp(Path("in.bmp"), Path("out.gif"));
    const std::vector<uint8_t> gif = Read(Path("out.gif"));
    ASSERT_GT(gif.size(), 72u);
    EXPECT_EQ(gif[10], 0xB3);
    EXPECT_EQ(gif[71], 4);  // LZW minimum code size, just before the image data at 72
}

TEST_F(GifFileTest, RandomImagesComeBackExactly) {
    for (int bits : {8, 4})
        for (auto [width, height] : {std::pair{2, 1}, {17, 13}, {64, 64}, {333, 129}, {1000, 40}}) {
            SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " at " + std::to_string(bits));
            ExpectRoundTrip(RandomBmp(width, height, bits, unsigned(width * height + bits)));
        }
}

TEST_F(GifFileTest, OnlyTheLowSixteenBitsOfTheSizesCount) {
    TestBmp bmp = RandomBmp(3, 2, 8, 3);
    bmp.widthField = 0x00070003;
    bmp.heightField = 0xFFFF0002;
    ExpectRoundTrip(bmp);
}

TEST_F(GifFileTest, OtherDepthLeavesAnEmptyFile) {
    Write(Path("out.gif"), {1, 2, 3});
    TestBmp bmp{2, 2, 24};
    bmp.indices.assign(12, 0);
    Write(Path("in.bmp"), bmp.Bytes());
    EncodeGifFromBmp(Path("in.bmp"), Path("out.gif"));
    ASSERT_TRUE(fs::exists(Path("out.gif")));
    EXPECT_EQ(fs::file_size(Path("out.gif")), 0u);
}

TEST_F(GifFileTest, UnreadableInputLeavesNoFile) {
    Write(Path("out.gif"), {1, 2, 3});  // an earlier file of that name goes too
    EncodeGifFromBmp(Path("missing.bmp"), Path("out.gif"));
    EXPECT_FALSE(fs::exists(Path("out.gif")));
}

TEST_F(GifFileTest, TruncatedInputLeavesNoFile) {
    for (int bits : {8, 4}) {
        const std::vector<uint8_t> whole = RandomBmp(5, 3, bits, 5).Bytes();
        // Every length short of the whole: inside and at the end of each header, the table, the rows.
        for (size_t length = 0; length < whole.size(); ++length) {
            Write(Path("in.bmp"), std::vector<uint8_t>(whole.begin(), whole.begin() + length));
            EncodeGifFromBmp(Path("in.bmp"), Path("out.gif"));
            ASSERT_FALSE(fs::exists(Path("out.gif"))) << bits << " bits cut to " << length;
        }
    }
}

TEST_F(GifFileTest, SizesTheFileCannotHoldLeaveNoFile) {
    for (auto [width, height] : {std::pair{0xFFFFu, 0xFFFFu}, {0xFFFFu, 1u}, {1u, 0xFFFFu}}) {
        TestBmp bmp = RandomBmp(4, 4, 8, 4);
        bmp.widthField = width;
        bmp.heightField = height;
        Write(Path("in.bmp"), bmp.Bytes());
        EncodeGifFromBmp(Path("in.bmp"), Path("out.gif"));
        EXPECT_FALSE(fs::exists(Path("out.gif"))) << width << "x" << height;
    }
}

}  // namespace
