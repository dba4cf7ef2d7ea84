// Wexbury.dll as the program uses it: loaded by its plain name from the folder of the exe,
// "savejpeg" looked up by name and called through a cdecl pointer with six 32-bit arguments.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using SaveJpeg = int(__cdecl*)(const char* bmpPath, const char* jpegPath, int quality,
                               int progressive, int grayscale, int smoothing);

class WexburyDll : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryA("Wexbury.dll");
        ASSERT_NE(module_, nullptr) << "Wexbury.dll not found beside the test";
        save_ = reinterpret_cast<SaveJpeg>(GetProcAddress(module_, "savejpeg"));
        ASSERT_NE(save_, nullptr) << "no export named savejpeg";
        char dir[MAX_PATH];
        ASSERT_GT(GetTempPathA(MAX_PATH, dir), 0u);
        base_ = std::string(dir) + "wexbury_test_" + std::to_string(GetCurrentProcessId()) + "_";
    }
    void TearDown() override {
        for (const std::string& f : made_) DeleteFileA(f.c_str());
        if (module_) FreeLibrary(module_);
    }
    std::string Path(const std::string& name) {
        made_.push_back(base_ + name);
        return made_.back();
    }

    HMODULE module_ = nullptr;
    SaveJpeg save_ = nullptr;
    std::string base_;
    std::vector<std::string> made_;
};

void Put32(std::vector<uint8_t>& f, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
}

// A bottom-up BMP with 24 or 32 bits per pixel and a colourful gradient.
std::vector<uint8_t> MakeBmp(int w, int h, int bits) {
    const size_t stride = (size_t(w) * bits + 31) / 32 * 4;
    std::vector<uint8_t> f(54 + stride * h, 0);
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 2, uint32_t(f.size()));
    Put32(f, 10, 54);
    Put32(f, 14, 40);
    Put32(f, 18, uint32_t(w));
    Put32(f, 22, uint32_t(h));
    f[26] = 1;
    f[28] = uint8_t(bits);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = f.data() + 54 + stride * y + size_t(x) * (bits / 8);
            p[0] = uint8_t(x * 4), p[1] = uint8_t(y * 4), p[2] = uint8_t((x + y) * 2);
        }
    return f;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
        std::fclose(f);
    }
    return bytes;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct JpegFacts {
    bool wellFormed = false;  // SOI first, EOI last, segments chain up to the first scan
    int frameMarker = 0;      // 0xC0 baseline, 0xC2 progressive
    int components = 0;
    int width = 0, height = 0;
};

JpegFacts Inspect(const std::vector<uint8_t>& j) {
    JpegFacts facts;
    if (j.size() < 4 || j[0] != 0xFF || j[1] != 0xD8 || j[j.size() - 2] != 0xFF || j.back() != 0xD9)
        return facts;
    for (size_t i = 2; i + 4 <= j.size();) {
        if (j[i] != 0xFF) return facts;
        const int marker = j[i + 1];
        const size_t length = size_t(j[i + 2]) << 8 | j[i + 3];
        if (marker == 0xC0 || marker == 0xC2) {
            facts.frameMarker = marker;
            facts.height = j[i + 5] << 8 | j[i + 6];
            facts.width = j[i + 7] << 8 | j[i + 8];
            facts.components = j[i + 9];
        }
        if (marker == 0xDA) {
            facts.wellFormed = facts.frameMarker != 0;
            return facts;
        }
        i += 2 + length;
    }
    return facts;
}

TEST_F(WexburyDll, WritesBaselineProgressiveAndGrayscale) {
    const std::string bmp = Path("in.bmp");
    const auto bytes = MakeBmp(50, 30, 24);
    ASSERT_TRUE(WriteBytes(bmp, bytes));
    struct Case {
        int progressive, grayscale, smoothing, frame, components;
    };
    const Case cases[] = {{0, 0, 0, 0xC0, 3},
                          {1, 0, 0, 0xC2, 3},
                          {0, 1, 0, 0xC0, 1},
                          {1, 1, 1, 0xC2, 1},
                          {0, 0, 1, 0xC0, 3}};
    for (const Case& c : cases) {
        const std::string jpg = Path("out.jpg");
        DeleteFileA(jpg.c_str());
        EXPECT_EQ(save_(bmp.c_str(), jpg.c_str(), 75, c.progressive, c.grayscale, c.smoothing), 1);
        const JpegFacts facts = Inspect(ReadBytes(jpg));
        EXPECT_TRUE(facts.wellFormed);
        EXPECT_EQ(facts.frameMarker, c.frame);
        EXPECT_EQ(facts.components, c.components);
        EXPECT_EQ(facts.width, 50);
        EXPECT_EQ(facts.height, 30);
    }
    EXPECT_EQ(ReadBytes(bmp), bytes) << "the BMP must be left as it was";
}

TEST_F(WexburyDll, FlagsUseOnlyTheLowByteAndQualityIsClamped) {
    const std::string bmp = Path("flags.bmp"), jpg = Path("flags.jpg");
    ASSERT_TRUE(WriteBytes(bmp, MakeBmp(17, 13, 32)));
    EXPECT_EQ(save_(bmp.c_str(), jpg.c_str(), 75, 0x100, 0x7F00, 0), 1);
    JpegFacts facts = Inspect(ReadBytes(jpg));
    EXPECT_EQ(facts.frameMarker, 0xC0);
    EXPECT_EQ(facts.components, 3);
    EXPECT_EQ(save_(bmp.c_str(), jpg.c_str(), 75, 0x201, 0xFF, 0), 1);
    facts = Inspect(ReadBytes(jpg));
    EXPECT_EQ(facts.frameMarker, 0xC2);
    EXPECT_EQ(facts.components, 1);

    EXPECT_EQ(save_(bmp.c_str(), jpg.c_str(), 0, 0, 0, 0), 1);
    const auto q0 = ReadBytes(jpg);
    EXPECT_EQ(save_(bmp.c_str(), jpg.c_str(), 1, 0, 0, 0), 1);
    EXPECT_EQ(ReadBytes(jpg), q0) << "quality 0 behaves as 1";
    EXPECT_EQ(save_(bmp.c_str(), jpg.c_str(), -40, 0, 0, 0), 1);
    EXPECT_EQ(ReadBytes(jpg), q0);
    EXPECT_EQ(save_(bmp.c_str(), jpg.c_str(), 1000, 0, 0, 0), 1);
    EXPECT_TRUE(Inspect(ReadBytes(jpg)).wellFormed);
}

TEST_F(WexburyDll, BadInputLeavesNoFileAndReturns) {
    const std::string jpg = Path("bad.jpg");
    EXPECT_EQ(save_(Path("missing.bmp").c_str(), jpg.c_str(), 75, 0, 0, 0), 0);
    EXPECT_FALSE(Exists(jpg));

    auto truncated = MakeBmp(40, 40, 24);
    truncated.resize(truncated.size() / 2);
    const std::string cut = Path("cut.bmp");
    ASSERT_TRUE(WriteBytes(cut, truncated));
    EXPECT_EQ(save_(cut.c_str(), jpg.c_str(), 75, 1, 0, 0), 0);
    EXPECT_FALSE(Exists(jpg));

    auto absurd = MakeBmp(4, 4, 24);
    Put32(absurd, 18, 0x40000000);
    const std::string big = Path("big.bmp");
    ASSERT_TRUE(WriteBytes(big, absurd));
    EXPECT_EQ(save_(big.c_str(), jpg.c_str(), 75, 0, 0, 0), 0);
    EXPECT_FALSE(Exists(jpg));
}

TEST_F(WexburyDll, ManyCallsInARowKeepTheStackIntact) {
    // A callee that popped its own arguments would shift the stack by 24 bytes per call.
    const std::string bmp = Path("loop.bmp"), jpg = Path("loop.jpg");
    ASSERT_TRUE(WriteBytes(bmp, MakeBmp(9, 9, 24)));
    volatile int sentinel = 0x5EB1;
    for (int i = 0; i < 60; ++i)
        ASSERT_EQ(save_(bmp.c_str(), jpg.c_str(), i % 101, i & 1, 0, 0), 1);
    EXPECT_EQ(sentinel, 0x5EB1);
}

}  // namespace
