// Quarter and half turns of bottom-up 24-bit pixel rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "editor/rotation.h"

namespace {

// A bottom-up 24-bit image whose every pixel names its own place (x, y counted from the top).
struct Image {
    int width, height;
    std::vector<uint8_t> bytes;

    Image(int w, int h) : width(w), height(h), bytes(Rotation::BufferBytes24(w, h), 0xEE) {}

    uint8_t* At(int x, int yFromTop) {
        return bytes.data() + (height - 1 - yFromTop) * Rotation::Stride24(width) + x * 3;
    }
    uint32_t Get(int x, int y) {
        uint8_t* p = At(x, y);
        return p[0] | p[1] << 8 | p[2] << 16;
    }
    void Set(int x, int y, uint32_t v) {
        uint8_t* p = At(x, y);
        p[0] = v & 0xFF;
        p[1] = (v >> 8) & 0xFF;
        p[2] = (v >> 16) & 0xFF;
    }
};

uint32_t Name(int x, int y) { return static_cast<uint32_t>(x) << 12 | static_cast<uint32_t>(y); }

Image Numbered(int w, int h) {
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.Set(x, y, Name(x, y));
    return image;
}

Image Turn(Image& source, int code) {
    Rotation::Size size = Rotation::Turned(source.width, source.height, code);
    Image target(size.width, size.height);
    Rotation::Turn24(source.bytes.data(), source.width, source.height, code, target.bytes.data());
    return target;
}

}  // namespace

TEST(EditorRotation, TheFormerTopLeftPixelLandsWhereEachCodeSays) {
    Image image = Numbered(300, 200);
    // The dialog's "90" passes code 270: a quarter turn counter-clockwise.
    Image ccw = Turn(image, 270);
    EXPECT_EQ(ccw.width, 200);
    EXPECT_EQ(ccw.height, 300);
    EXPECT_EQ(ccw.Get(0, 299), Name(0, 0));  // bottom-left
    // The dialog's "270" passes code 90: clockwise.
    Image cw = Turn(image, 90);
    EXPECT_EQ(cw.Get(199, 0), Name(0, 0));  // top-right
    Image half = Turn(image, 180);
    EXPECT_EQ(half.width, 300);
    EXPECT_EQ(half.Get(299, 199), Name(0, 0));  // bottom-right
}

TEST(EditorRotation, EveryPixelMovesAsTheTurnSaysWithPaddedRows) {
    // Widths whose rows need padding on both sides of the turn.
    Image image = Numbered(37, 21);
    int w = image.width, h = image.height;
    Image cw = Turn(image, 90), ccw = Turn(image, 270), half = Turn(image, 180), same = Turn(image, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t name = Name(x, y);
            ASSERT_EQ(cw.Get(h - 1 - y, x), name);
            ASSERT_EQ(ccw.Get(y, w - 1 - x), name);
            ASSERT_EQ(half.Get(w - 1 - x, h - 1 - y), name);
            ASSERT_EQ(same.Get(x, y), name);
        }
}

TEST(EditorRotation, FourQuarterTurnsGiveTheImageBack) {
    Image image = Numbered(45, 33);
    Image turned = Turn(image, 90);
    for (int i = 0; i < 3; ++i) turned = Turn(turned, 90);
    for (int y = 0; y < 33; ++y)
        for (int x = 0; x < 45; ++x) ASSERT_EQ(turned.Get(x, y), Name(x, y));
}

TEST(EditorRotation, BufferSizesCarryTheMarginAndRefuseTheImpossible) {
    EXPECT_EQ(Rotation::Stride24(1), 4u);
    EXPECT_EQ(Rotation::Stride24(4), 12u);
    EXPECT_EQ(Rotation::Stride24(5), 16u);
    EXPECT_EQ(Rotation::BufferBytes24(300, 200), 900u * 200 + 65536);
    EXPECT_EQ(Rotation::BufferBytes24(-1, 10), 0u);
    if (sizeof(size_t) == 4) {
        EXPECT_EQ(Rotation::BufferBytes24(60000, 60000), 0u);
    }
}
