// The clipboard's "PNG": offered beside the bitmap, and holding exactly the bitmap's pixels.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "imagefile/png_clipboard.h"
#include "imagefile/png_decoder.h"

namespace {

// 50 x 30 with a colour of its own in every pixel: 1500 colours, so the RGB way of the encoder.
HBITMAP MakeManyColours() {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 50, -30, 1, 32, BI_RGB};
    std::vector<uint32_t> pixels(50 * 30);
    for (int i = 0; i < 50 * 30; ++i) pixels[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 50, 30);
    ::SetDIBits(screen, bitmap, 0, 30, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

TEST(PngClipboard, ThePngOfferedBesideTheBitmapHoldsItsExactPixels) {
    HWND owner = ::CreateWindowA("STATIC", "clipboard owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    HBITMAP bitmap = MakeManyColours();
    ASSERT_TRUE(::OpenClipboard(owner));
    ::EmptyClipboard();
    OfferPngOnClipboard(bitmap);
    HBITMAP handedOver = static_cast<HBITMAP>(::CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    ASSERT_TRUE(::SetClipboardData(CF_BITMAP, handedOver));
    ::CloseClipboard();

    const UINT png = ::RegisterClipboardFormatA("PNG");
    EXPECT_EQ(PngClipboardFormat(), png);
    EXPECT_TRUE(::IsClipboardFormatAvailable(png));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));

    ASSERT_TRUE(::OpenClipboard(owner));
    HGLOBAL block = ::GetClipboardData(png);
    ASSERT_TRUE(block);
    const auto* bytes = static_cast<const uint8_t*>(::GlobalLock(block));
    PngDecoder::Image image;
    ASSERT_EQ(PngDecoder::Decode(bytes, ::GlobalSize(block), image), PngDecoder::Status::kDecoded);
    ::GlobalUnlock(block);
    ::CloseClipboard();

    ASSERT_EQ(image.width, 50);
    ASSERT_EQ(image.height, 30);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 50, -30, 1, 32, BI_RGB};
    std::vector<uint8_t> expected(50 * 30 * 4);
    HDC screen = ::GetDC(nullptr);
    ASSERT_EQ(::GetDIBits(screen, bitmap, 0, 30, expected.data(), &info, DIB_RGB_COLORS), 30);
    ::ReleaseDC(nullptr, screen);
    int wrong = 0;
    for (size_t i = 0; i < expected.size(); ++i)
        if (i % 4 != 3 && expected[i] != image.pixels[i]) ++wrong;
    EXPECT_EQ(wrong, 0);
    ::DeleteObject(bitmap);
    ::DestroyWindow(owner);
}

}  // namespace
