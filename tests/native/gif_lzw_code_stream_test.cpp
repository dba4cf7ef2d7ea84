// The LZW code stream of EncodeGif, read back code by code the way a decoder reads it, and compared
// with what giflib's own encoder writes for the same pixels.
#include "imagefile/gif_encoder.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

// A strict reader written from the decoder's side: it follows the code width as a decoder must,
// rebuilds the pixels, and insists on whole sub-blocks, the end code, zero fill bits and the trailer.
struct CodeStream {
    unsigned rootBits = 0;
    std::vector<uint32_t> codes;
    std::vector<unsigned> widths;  // the width each code was read at
    std::vector<uint8_t> pixels;
    uint32_t Clear() const { return 1u << rootBits; }
    uint32_t End() const { return Clear() + 1; }
};

::testing::AssertionResult ReadCodeStream(const std::vector<uint8_t>& gif, CodeStream& out) {
    auto fail = [] { return ::testing::AssertionFailure(); };
    if (gif.size() < 13) return fail() << "no header";
    size_t at = 13 + 3 * (size_t(2) << (gif[10] & 7));
    if (gif.size() < at + 12 || gif[at] != 0x2C) return fail() << "no image descriptor";
    at += 10;
    out.rootBits = gif[at++];

    std::vector<uint8_t> data;
    for (size_t last = 255; at < gif.size() && gif[at] != 0; at += 1 + gif[at]) {
        if (last != 255) return fail() << "a short sub-block before the last";
        last = gif[at];
        if (at + 1 + last > gif.size()) return fail() << "sub-block past the end";
        data.insert(data.end(), gif.begin() + at + 1, gif.begin() + at + 1 + last);
    }
    if (at + 2 != gif.size() || gif[at + 1] != 0x3B) return fail() << "no terminator and trailer at the end";

    std::vector<std::vector<uint8_t>> table;
    unsigned width = 0;
    int previous = -1;
    const auto reset = [&] {
        table.assign(out.End() + 1, {});
        for (uint32_t i = 0; i < out.Clear(); ++i) table[i] = {uint8_t(i)};
        width = out.rootBits + 1;
        previous = -1;
    };
    reset();
    size_t bit = 0;
    for (;;) {
        if (bit + width > data.size() * 8) return fail() << "no end code";
        uint32_t code = 0;
        for (unsigned i = 0; i < width; ++i, ++bit) code |= uint32_t(data[bit / 8] >> (bit % 8) & 1) << i;
        out.codes.push_back(code);
        out.widths.push_back(width);
        if (code == out.Clear()) { reset(); continue; }
        if (code == out.End()) break;
        std::vector<uint8_t> string;
        if (code < table.size() && !table[code].empty()) string = table[code];
        else if (code == table.size() && previous >= 0) { string = table[previous]; string.push_back(string[0]); }
        else return fail() << "code " << code << " not in the dictionary";
        if (previous >= 0 && table.size() < 4096) {
            table.push_back(table[previous]);
            table.back().push_back(string[0]);
        }
        if (table.size() == (size_t(1) << width) && width < 12) ++width;
        out.pixels.insert(out.pixels.end(), string.begin(), string.end());
        previous = int(code);
    }
    if (data.size() * 8 - bit >= 8) return fail() << "bytes after the end code";
    if (bit % 8 && data.back() >> (bit % 8)) return fail() << "fill bits not zero";
    return ::testing::AssertionSuccess();
}

PaletteImage Image(int width, int height, int bits) {
    PaletteImage image;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = bits;
    image.palette.resize(size_t(1) << bits);
    for (size_t i = 0; i < image.palette.size(); ++i) image.palette[i] = {uint8_t(i), uint8_t(3 * i), uint8_t(7 * i)};
    image.indices.resize(size_t(width) * height);
    return image;
}

PaletteImage Noise(int width, int height, int bits, unsigned seed) {
    PaletteImage image = Image(width, height, bits);
    std::mt19937 random(seed);
    for (uint8_t& index : image.indices) index = uint8_t(random() % (1u << bits));
    return image;
}

// Like a screenshot: runs of a few colours, mostly short, now and then very long.
PaletteImage Runs(int width, int height, int bits, unsigned seed) {
    PaletteImage image = Image(width, height, bits);
    std::mt19937 random(seed);
    for (size_t at = 0; at < image.indices.size();) {
        const size_t length = random() % 8 ? 1 + random() % 12 : 1 + random() % 5000;
        const uint8_t color = uint8_t(random() % 5 * 3 % (1u << bits));
        for (size_t end = std::min(image.indices.size(), at + length); at < end; ++at) image.indices[at] = color;
    }
    return image;
}

int AppendToVector(GifFileType* file, const GifByteType* bytes, int length) {
    auto* out = static_cast<std::vector<uint8_t>*>(file->UserData);
    out->insert(out->end(), bytes, bytes + length);
    return length;
}

std::vector<uint8_t> EncodeWithGiflib(const PaletteImage& image) {
    std::vector<uint8_t> out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendToVector, &error);
    std::vector<GifColorType> colors;
    for (const PaletteColor& c : image.palette) colors.push_back({c.red, c.green, c.blue});
    ColorMapObject* map = GifMakeMapObject(int(colors.size()), colors.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, image.width, image.height, image.bitsPerPixel, 0, map);
    EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr);
    std::vector<GifPixelType> pixels(image.indices.begin(), image.indices.end());
    EGifPutLine(gif, pixels.data(), int(pixels.size()));
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

struct MemoryInput {
    const std::vector<uint8_t>* bytes;
    size_t at = 0;
};

int ReadFromMemory(GifFileType* file, GifByteType* into, int length) {
    auto* in = static_cast<MemoryInput*>(file->UserData);
    const size_t n = std::min(size_t(length), in->bytes->size() - in->at);
    std::copy_n(in->bytes->begin() + in->at, n, into);
    in->at += n;
    return int(n);
}

// The pixels as giflib's decoder reads them; empty if it cannot.
std::vector<uint8_t> DecodeWithGiflib(const std::vector<uint8_t>& gif) {
    MemoryInput input{&gif};
    int error = 0;
    GifFileType* file = DGifOpen(&input, ReadFromMemory, &error);
    std::vector<uint8_t> pixels;
    if (!file) return pixels;
    if (DGifSlurp(file) == GIF_OK && file->ImageCount == 1) {
        const SavedImage& image = file->SavedImages[0];
        pixels.assign(image.RasterBits, image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
    }
    DGifCloseFile(file, &error);
    return pixels;
}

// Data codes between one clear code and the next.
std::vector<size_t> RoundLengths(const CodeStream& stream) {
    std::vector<size_t> lengths;
    for (uint32_t code : stream.codes) {
        if (code == stream.Clear()) lengths.push_back(0);
        else if (code != stream.End()) ++lengths.back();
    }
    return lengths;
}

TEST(GifLzwCodeStream, ClearFollowsEntry4095AndCodesRestartNarrow) {
    for (auto [bits, entriesPerRound] : {std::pair{8, size_t(3838)}, {4, size_t(4078)}}) {
        SCOPED_TRACE(bits);
        const PaletteImage image = Noise(200, 150, bits, 42);
        CodeStream stream;
        ASSERT_TRUE(ReadCodeStream(EncodeGif(image), stream));
        EXPECT_EQ(stream.pixels, image.indices);
        const std::vector<size_t> rounds = RoundLengths(stream);
        ASSERT_GE(rounds.size(), 3u);
        for (size_t i = 0; i + 1 < rounds.size(); ++i) EXPECT_EQ(rounds[i], entriesPerRound) << "round " << i;
        EXPECT_LT(rounds.back(), entriesPerRound);
        for (size_t i = 1; i + 1 < stream.codes.size(); ++i)
            if (stream.codes[i] == stream.Clear()) {
                EXPECT_EQ(stream.widths[i], 12u);
                EXPECT_EQ(stream.widths[i + 1], unsigned(bits + 1));
            }
    }
}

// A de Bruijn sequence: no pair of neighbours comes twice, so every pixel is a code of its own and
// the image ends with the dictionary at a size of our choosing.
std::vector<uint8_t> NoPairTwice(int bits, size_t count) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < (1 << bits); ++i) {
        pixels.push_back(uint8_t(i));
        for (int j = i + 1; j < (1 << bits); ++j) pixels.insert(pixels.end(), {uint8_t(i), uint8_t(j)});
    }
    pixels.resize(count);
    return pixels;
}

TEST(GifLzwCodeStream, EndCodeTakesTheWidthTheDecoderHasReached) {
    // 255 codes at 8 bits (15 at 4 bits) bring the decoder's dictionary to 512 (32) as it reads
    // the last one. Only at 4 bits, from 8 to 9 bits (239 codes), does the wider end code need a
    // byte more; everywhere else its extra bit falls into the zero fill.
    struct Case { int bits; size_t pixels; unsigned lastWidth, endWidth; };
    for (const Case& c : {Case{8, 254, 9, 9}, {8, 255, 9, 10}, {8, 256, 10, 10}, {8, 257, 10, 10},
                          Case{4, 14, 5, 5}, {4, 15, 5, 6}, {4, 16, 6, 6}, {4, 17, 6, 6},
                          Case{4, 238, 8, 8}, {4, 239, 8, 9}, {4, 240, 9, 9}}) {
        SCOPED_TRACE(std::to_string(c.pixels) + " pixels at " + std::to_string(c.bits));
        PaletteImage image = Image(int(c.pixels), 1, c.bits);
        image.indices = NoPairTwice(c.bits, c.pixels);
        const std::vector<uint8_t> gif = EncodeGif(image);
        EXPECT_EQ(DecodeWithGiflib(gif), image.indices);
        CodeStream stream;
        ASSERT_TRUE(ReadCodeStream(gif, stream));
        EXPECT_EQ(stream.pixels, image.indices);
        ASSERT_EQ(stream.codes.size(), c.pixels + 2);
        EXPECT_EQ(stream.widths[stream.widths.size() - 2], c.lastWidth);
        EXPECT_EQ(stream.widths.back(), c.endWidth);
    }
}

TEST(GifLzwCodeStream, EmptyImageIsClearThenEnd) {
    CodeStream stream;
    ASSERT_TRUE(ReadCodeStream(EncodeGif(Image(0, 0, 8)), stream));
    EXPECT_EQ(stream.codes, (std::vector<uint32_t>{256, 257}));
}

// Each named image: our stream is giflib's to the byte and reads back to its pixels.
void ExpectGiflibsBytesAndThePixelsBack(
    const std::vector<std::pair<std::string, PaletteImage>>& images) {
    for (const auto& [name, image] : images) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> ours = EncodeGif(image);
        EXPECT_TRUE(ours == EncodeWithGiflib(image));
        CodeStream stream;
        ASSERT_TRUE(ReadCodeStream(ours, stream));
        EXPECT_TRUE(stream.pixels == image.indices);
    }
}

TEST(GifLzwCodeStream, SameBytesAsGiflibsEncoder) {
    // Both are greedy longest-match LZW with the same clear rule, so the files must agree exactly.
    std::vector<std::pair<std::string, PaletteImage>> images;
    for (int bits : {8, 4}) {
        const std::string depth = " at " + std::to_string(bits);
        images.emplace_back("noise" + depth, Noise(301, 97, bits, 1));
        images.emplace_back("runs" + depth, Runs(640, 480, bits, 2));
        images.emplace_back("runs, narrow" + depth, Runs(7, 3000, bits, 3));
    }
    PaletteImage flat = Image(2800, 2800, 8);  // one colour: a clear comes after run strings only
    std::fill(flat.indices.begin(), flat.indices.end(), uint8_t(9));
    images.emplace_back("one colour", flat);
    ExpectGiflibsBytesAndThePixelsBack(images);
}

// Like a photo: a smooth gradient with a little noise, so that neighbours are often equal but
// rarely for long, and most strings are two or three pixels.
PaletteImage DitheredGradient(int width, int height, int bits, unsigned seed) {
    PaletteImage image = Image(width, height, bits);
    std::mt19937 random(seed);
    const int levels = 1 << bits;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int level = (x + 2 * y) * levels / (width + 2 * height) + int(random() % 3) - 1;
            image.indices[size_t(y) * width + x] = uint8_t(std::clamp(level, 0, levels - 1));
        }
    return image;
}

// Runs of one colour whose lengths climb from 1 to `longest` and back, between single pixels of
// another: the run strings are first learnt one pixel at a time, then met again as long runs.
std::vector<uint8_t> ClimbingRuns(uint8_t color, uint8_t other, size_t longest) {
    std::vector<uint8_t> pixels;
    for (size_t pass = 0; pass < 2; ++pass)
        for (size_t length = 1; length <= longest; ++length) {
            pixels.insert(pixels.end(), pass == 0 ? length : longest + 1 - length, color);
            pixels.push_back(other);
        }
    return pixels;
}

TEST(GifLzwCodeStream, SameBytesAsGiflibWhereTheCoderChangesStride) {
    std::vector<std::pair<std::string, PaletteImage>> images;
    auto add = [&](const std::string& name, int bits, std::vector<uint8_t> pixels) {
        PaletteImage image = Image(int(pixels.size()), 1, bits);
        image.indices = std::move(pixels);
        images.emplace_back(name, std::move(image));
    };
    for (int bits : {8, 4}) {
        const std::string depth = " at " + std::to_string(bits);
        images.emplace_back("dithered gradient" + depth, DitheredGradient(640, 360, bits, 4));
        images.emplace_back("many rounds of noise" + depth, Noise(1000, 300, bits, 5));
        add("runs learnt pixel by pixel, then met whole" + depth, bits, ClimbingRuns(3, 5, 40));
        add("runs learnt in one go, then pixel by pixel" + depth, bits, [] {
            std::vector<uint8_t> pixels = ClimbingRuns(3, 5, 40);
            std::reverse(pixels.begin(), pixels.end());
            return pixels;
        }());
        // A run that starts within the last few pixels is taken pixel by pixel, one that starts
        // earlier in one step; either way it may end exactly at the last pixel.
        for (size_t tail : {7, 8, 9, 10, 17}) {
            std::vector<uint8_t> pixels = NoPairTwice(bits, 50);
            pixels.insert(pixels.end(), tail, pixels.back());
            add("run of " + std::to_string(tail) + " at the end" + depth, bits, pixels);
        }
        // Two colours in turn and in blocks; index 0, whose strings have the smallest keys.
        PaletteImage checkers = Image(333, 77, bits);
        for (size_t i = 0; i < checkers.indices.size(); ++i) checkers.indices[i] = uint8_t((i / 333 + i) % 2);
        images.emplace_back("two-colour checkerboard" + depth, checkers);
        PaletteImage zeros = Image(500, 40, bits);
        images.emplace_back("all index 0" + depth, zeros);
    }
    PaletteImage ramp = Image(256, 300, 8);  // every one of 256 colours, each row shifted by one
    for (size_t i = 0; i < ramp.indices.size(); ++i) ramp.indices[i] = uint8_t(i % 256 + i / 256);
    images.emplace_back("256-colour ramp", ramp);
    // Small images use a smaller table: on both sides of that size, and a small image whose
    // dictionary still fills up and starts over.
    images.emplace_back("noise of 2047 pixels", Noise(89, 23, 8, 6));
    images.emplace_back("noise of 2048 pixels", Noise(64, 32, 8, 7));
    add("a clear within a small image", 8, NoPairTwice(8, 4000));
    add("a single pixel", 8, {200});

    ExpectGiflibsBytesAndThePixelsBack(images);
}

TEST(GifLzwCodeStream, IndicesAboveTheDepthStayInBounds) {
    // Not a valid 4-bit image; the stream is wrong, but the coder must neither crash nor step out
    // of its tables (the sanitizer builds watch that), whichever path the indices take.
    PaletteImage image = Noise(300, 40, 8, 8);
    image.bitsPerPixel = 4;
    for (size_t i = 0; i < 2000; ++i) image.indices[5000 + i] = 250;  // a long run of one stray index
    EXPECT_FALSE(EncodeGif(image).empty());
}

}  // namespace
