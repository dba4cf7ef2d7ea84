#include "wexbury/save_jpeg.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/native/wexbury_test_support.h"

namespace {

using namespace wexbury_test;

// A folder of its own per test, removed afterwards.
class WexburySave : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/wexbury_save_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        for (const std::string& f : made_) std::remove(f.c_str());
        rmdir(dir_.c_str());
    }
    std::string Path(const std::string& name) {
        made_.push_back(dir_ + "/" + name);
        return made_.back();
    }
    std::string dir_;
    std::vector<std::string> made_;
};

wexbury::JpegOptions Baseline(int quality = 75) {
    wexbury::JpegOptions o;
    o.quality = quality;
    return o;
}

TEST_F(WexburySave, EveryInputDepthBecomesTheSamePicture) {
    // Sixteen colours, so every depth from 4 bits up can hold the picture exactly.
    std::vector<Rgb> palette;
    for (int i = 0; i < 16; ++i)
        palette.push_back(
            Rgb{uint8_t(i * 16 + 8), uint8_t(255 - i * 16), uint8_t(i % 4 * 64 + 32)});
    Picture p{37, 29, std::vector<Rgb>(size_t(37) * 29)};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.At(x, y) = palette[(x / 6 + y / 5) % 16];
    Picture two = p;  // 1 bit: black and white
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            two.At(x, y) = ((x / 6 + y / 5) % 2) ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    // 5-5-5 keeps only the top five bits of each channel.
    Picture five = p;
    for (Rgb& c : five.pixels)
        c = Rgb{uint8_t((c.r >> 3) << 3 | c.r >> 5), uint8_t((c.g >> 3) << 3 | c.g >> 5),
                uint8_t((c.b >> 3) << 3 | c.b >> 5)};

    struct Case {
        int bits;
        const Picture& expected;
        std::vector<Rgb> palette;
    };
    const Case cases[] = {{1, two, {Rgb{0, 0, 0}, Rgb{255, 255, 255}}},
                          {4, p, palette},
                          {8, p, palette},
                          {16, five, {}},
                          {24, p, {}},
                          {32, p, {}}};
    auto save = [&](const std::vector<uint8_t>& bmpBytes, const std::string& name) {
        const std::string bmp = Path(name + ".bmp"), jpg = Path(name + ".jpg");
        EXPECT_TRUE(WriteFile(bmp, bmpBytes));
        EXPECT_TRUE(wexbury::SaveBmpAsJpeg(bmp.c_str(), jpg.c_str(), Baseline(95))) << name;
        EXPECT_EQ(ReadFile(bmp), bmpBytes) << "the BMP must stay as it was";
        return ReadFile(jpg);
    };
    for (const Case& c : cases) {
        const std::string name = std::to_string(c.bits);
        const auto jpeg = save(MakeBmp(c.bits == 16 ? p : c.expected, c.bits, c.palette), name);
        // Whatever the depth, the pixels are the same, so the JPEG must be the 24-bit one.
        EXPECT_EQ(jpeg, save(MakeBmp(c.expected, 24), name + "as24")) << c.bits << " bits";
        const DecodedJpeg d = DecodeJpeg(jpeg);
        ASSERT_TRUE(d.ok) << c.bits;
        // Hard colour edges on a 2x2 chroma grid: the error is the subsampling's, not the depth's.
        EXPECT_GT(Psnr(d.picture, c.expected), 22.0) << c.bits << " bits";
    }
}

TEST_F(WexburySave, BadInputLeavesNoFile) {
    const auto good = MakeBmp(TestPicture(20, 10), 24);
    std::vector<std::vector<uint8_t>> bad;
    // Truncated at each boundary: inside the file header, inside the info header, right after it,
    // and one byte short of the last row.
    for (size_t len : {size_t(0), size_t(10), size_t(14), size_t(30), size_t(54), good.size() - 1})
        bad.emplace_back(good.begin(), good.begin() + len);
    auto patched = [&](size_t at, uint32_t v) {
        auto f = good;
        Put32(f, at, v);
        return f;
    };
    bad.push_back(patched(18, 0x7FFFFFFF));  // absurd width
    bad.push_back(patched(22, 0x7FFFFFFF));  // absurd height
    bad.push_back(patched(28, 12));          // unknown depth
    bad.push_back(patched(30, 1));           // run-length compressed
    for (size_t i = 0; i < bad.size(); ++i) {
        const std::string bmp = Path("bad.bmp"), jpg = Path("bad.jpg");
        ASSERT_TRUE(WriteFile(bmp, bad[i]));
        EXPECT_FALSE(wexbury::SaveBmpAsJpeg(bmp.c_str(), jpg.c_str(), Baseline())) << "case " << i;
        EXPECT_FALSE(FileExists(jpg)) << "case " << i;
    }
    const std::string jpg = Path("none.jpg");
    EXPECT_FALSE(wexbury::SaveBmpAsJpeg(Path("missing.bmp").c_str(), jpg.c_str(), Baseline()));
    EXPECT_FALSE(FileExists(jpg));
}

TEST_F(WexburySave, UnwritableTargetFailsQuietly) {
    const std::string bmp = Path("ok.bmp");
    ASSERT_TRUE(WriteFile(bmp, MakeBmp(TestPicture(8, 8), 24)));
    EXPECT_FALSE(
        wexbury::SaveBmpAsJpeg(bmp.c_str(), (dir_ + "/no/such/dir/x.jpg").c_str(), Baseline()));
    EXPECT_FALSE(wexbury::SaveBmpAsJpeg(bmp.c_str(), nullptr, Baseline()));
}

TEST_F(WexburySave, NeverWritesOverItsSource) {
    const std::string bmp = Path("self.bmp");
    const auto bytes = MakeBmp(TestPicture(8, 8), 24);
    ASSERT_TRUE(WriteFile(bmp, bytes));
    EXPECT_FALSE(wexbury::SaveBmpAsJpeg(bmp.c_str(), bmp.c_str(), Baseline()));
    EXPECT_EQ(ReadFile(bmp), bytes);
}

TEST_F(WexburySave, OverwritesAnOlderJpeg) {
    const std::string bmp = Path("pic.bmp"), jpg = Path("pic.jpg");
    ASSERT_TRUE(WriteFile(bmp, MakeBmp(TestPicture(30, 20), 24)));
    ASSERT_TRUE(WriteFile(jpg, std::vector<uint8_t>(100000, 0x55)));
    ASSERT_TRUE(wexbury::SaveBmpAsJpeg(bmp.c_str(), jpg.c_str(), Baseline()));
    const DecodedJpeg d = DecodeJpeg(ReadFile(jpg));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, 30);
}

TEST(WexburyCallArguments, OnlyTheLowByteOfEachFlagCounts) {
    const auto o = wexbury::OptionsFromCallArguments(75, 0x100, 0x7FFFFF00, int(0xABCD0001u));
    EXPECT_FALSE(o.progressive);
    EXPECT_FALSE(o.grayscale);
    EXPECT_TRUE(o.smoothing);
    const auto p = wexbury::OptionsFromCallArguments(75, 0x1FF, 0x80, 0);
    EXPECT_TRUE(p.progressive);
    EXPECT_TRUE(p.grayscale);
    EXPECT_FALSE(p.smoothing);
}

TEST(WexburyCallArguments, QualityIsClampedTo0To100) {
    EXPECT_EQ(wexbury::OptionsFromCallArguments(-7, 0, 0, 0).quality, 0);
    EXPECT_EQ(wexbury::OptionsFromCallArguments(0, 0, 0, 0).quality, 0);
    EXPECT_EQ(wexbury::OptionsFromCallArguments(55, 0, 0, 0).quality, 55);
    EXPECT_EQ(wexbury::OptionsFromCallArguments(250, 0, 0, 0).quality, 100);
}

}  // namespace
