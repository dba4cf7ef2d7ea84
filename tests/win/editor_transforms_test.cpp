// Rotation, copies, areas and scaling of real bitmaps, and bitmaps too large to be made.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "editor/area_average.h"
#include "editor/bitmap_ops.h"
#include "editor/image_scaler.h"
#include "editor/rotate_bitmap.h"
#include "editor_test_support.h"

using namespace editor_test;

namespace {

// Each corner of the picture and where each code must put it, with the new size.
struct Corners {
    int width, height;
    POINT topLeft, topRight, bottomLeft, bottomRight;
};

void ExpectCorners(HBITMAP turned, int w, int h, const Corners& want) {
    ASSERT_NE(turned, nullptr);
    CSize size = SizeOf(turned);
    EXPECT_EQ(size.cx, want.width);
    EXPECT_EQ(size.cy, want.height);
    EXPECT_EQ(PixelOf(turned, want.topLeft.x, want.topLeft.y), Named(0, 0));
    EXPECT_EQ(PixelOf(turned, want.topRight.x, want.topRight.y), Named(w - 1, 0));
    EXPECT_EQ(PixelOf(turned, want.bottomLeft.x, want.bottomLeft.y), Named(0, h - 1));
    EXPECT_EQ(PixelOf(turned, want.bottomRight.x, want.bottomRight.y), Named(w - 1, h - 1));
}

// Four solid quadrants of 40 x 30: red, green, blue and yellow.
CBitmap Quadrants() {
    CBitmap image = BitmapOps::MakeCompatible(nullptr, 80, 60);
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, image.GetSafeHandle());
    const COLORREF colours[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    for (int q = 0; q < 4; ++q) {
        RECT r = {q % 2 * 40, q / 2 * 30, q % 2 * 40 + 40, q / 2 * 30 + 30};
        HBRUSH brush = ::CreateSolidBrush(colours[q]);
        ::FillRect(memory, &r, brush);
        ::DeleteObject(brush);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return image;
}

// Every pixel of a bitmap as 32-bit values, top row first.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap) {
    const CSize size = SizeOf(bitmap);
    std::vector<uint32_t> pixels(size_t(size.cx) * size_t(size.cy));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB};
    HDC memory = ::CreateCompatibleDC(nullptr);
    ::GetDIBits(memory, bitmap, 0, UINT(size.cy), pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(memory);
    return pixels;
}

}  // namespace

TEST(EditorRotateBitmap, EachCodeTurnsAScreenBitmapAsTheDialogSays) {
    CBitmap image;
    image.Attach(NamedBitmap(300, 200));
    CBitmap ccw, cw, half;
    // "90" in the dialog is code 270: the former top-left pixel ends at the bottom-left.
    ccw.Attach(RotateBitmap(image, 270));
    ExpectCorners(ccw, 300, 200, {200, 300, {0, 299}, {0, 0}, {199, 299}, {199, 0}});
    // "270" is code 90: the top-left pixel ends at the top-right.
    cw.Attach(RotateBitmap(image, 90));
    ExpectCorners(cw, 300, 200, {200, 300, {199, 0}, {199, 299}, {0, 0}, {0, 299}});
    half.Attach(RotateBitmap(image, 180));
    ExpectCorners(half, 300, 200, {300, 200, {299, 199}, {0, 199}, {299, 0}, {0, 0}});
    // The turned bitmap has the source's format.
    EXPECT_EQ(BitmapOps::BitsOf(cw), BitmapOps::BitsOf(image));
}

TEST(EditorRotateBitmap, EveryPixelOfAnOddSizedPictureArrives) {
    CBitmap image, turned;
    image.Attach(NamedBitmap(37, 23));
    turned.Attach(RotateBitmap(image, 90));
    ASSERT_TRUE(turned);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) ASSERT_EQ(PixelOf(turned, 22 - y, x), Named(x, y)) << x << "," << y;
}

TEST(EditorRotateBitmap, MonochromeBitmapsStayMonochromeAndKeepTheirPixels) {
    // 8 x 2: the left half of the top row white, everything else black.
    const BYTE rows[] = {0xF0, 0, 0, 0};
    CBitmap mono, turned;
    mono.CreateBitmap(8, 2, 1, 1, rows);
    turned.Attach(RotateBitmap(mono, 90));  // clockwise: the top row becomes the right column
    ASSERT_TRUE(turned);
    EXPECT_EQ(BitmapOps::BitsOf(turned), 1);
    EXPECT_EQ(SizeOf(turned).cx, 2);
    EXPECT_EQ(PixelOf(turned, 1, 0), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(turned, 1, 3), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(turned, 1, 4), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(turned, 0, 0), RGB(0, 0, 0));
}

TEST(EditorRotateBitmap, NoBitmapGivesNoBitmap) {
    EXPECT_EQ(RotateBitmap(nullptr, 90), nullptr);
}

TEST(EditorBitmapOps, AnAreaPartlyOutsideTheImageKeepsItsFullSizeWithBlackOutside) {
    CBitmap image;
    image.Attach(NamedBitmap(50, 40));
    CBitmap area = BitmapOps::CopyArea(image, nullptr, {-5, 30, 9, 49});  // 15 x 20
    ASSERT_TRUE(area);
    EXPECT_EQ(SizeOf(area).cx, 15);
    EXPECT_EQ(SizeOf(area).cy, 20);
    EXPECT_EQ(PixelOf(area, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(area, 5, 0), Named(0, 30));
    EXPECT_EQ(PixelOf(area, 14, 9), Named(9, 39));
    EXPECT_EQ(PixelOf(area, 14, 10), RGB(0, 0, 0));
    // Wholly outside: all black, still the full size.
    CBitmap outside = BitmapOps::CopyArea(image, nullptr, {100, 100, 103, 101});
    ASSERT_TRUE(outside);
    EXPECT_EQ(PixelOf(outside, 3, 1), RGB(0, 0, 0));
}

TEST(EditorBitmapOps, CopyBitmapReplacesTheDestinationOnlyWhenTheCopyIsMade) {
    CBitmap image, destination;
    image.Attach(NamedBitmap(20, 10));
    destination.Attach(NamedBitmap(3, 3));
    HGDIOBJ before = destination.GetSafeHandle();
    ASSERT_TRUE(BitmapOps::CopyBitmap(image, destination, nullptr));
    EXPECT_NE(destination.GetSafeHandle(), before);
    EXPECT_EQ(PixelOf(destination, 19, 9), Named(19, 9));
    // A source that is not there: nothing can be made, the destination stays.
    before = destination.GetSafeHandle();
    EXPECT_FALSE(BitmapOps::CopyBitmap(nullptr, destination, nullptr));
    EXPECT_EQ(destination.GetSafeHandle(), before);
}

TEST(EditorBitmapOps, ABitmapThatCannotBeMadeGivesNothing) {
    // 60000 x 60000 at 32 bits is over 13 GB: no 32-bit process (nor a sane 64-bit one) makes it.
    EXPECT_FALSE(BitmapOps::MakeCompatible(nullptr, 60000, 60000));
    EXPECT_FALSE(BitmapOps::MakeCompatible(nullptr, 0, 10));
    CBitmap image;
    image.Attach(NamedBitmap(10, 10));
    EXPECT_FALSE(BitmapOps::CopyArea(image, nullptr, {0, 0, 59999, 59999}));
}

TEST(EditorImageScaler, ScalesTheWholeImageOntoTheNewSize) {
    CBitmap image = Quadrants();
    ImageScaler scaler;
    for (auto [w, h] : {std::pair{40, 30}, std::pair{160, 120}, std::pair{8, 6}}) {
        CBitmap scaled = scaler.Scale(image, nullptr, w, h);
        ASSERT_TRUE(scaled) << w;
        EXPECT_EQ(SizeOf(scaled).cx, w);
        EXPECT_EQ(SizeOf(scaled).cy, h);
        EXPECT_EQ(PixelOf(scaled, w / 4, h / 4), RGB(255, 0, 0)) << w;
        EXPECT_EQ(PixelOf(scaled, w * 3 / 4, h / 4), RGB(0, 255, 0)) << w;
        EXPECT_EQ(PixelOf(scaled, w / 4, h * 3 / 4), RGB(0, 0, 255)) << w;
        EXPECT_EQ(PixelOf(scaled, w * 3 / 4, h * 3 / 4), RGB(255, 255, 0)) << w;
    }
    EXPECT_FALSE(scaler.scaleDib);  // freed right after each use
    EXPECT_FALSE(scaler.Scale(image, nullptr, 60000, 60000));
    EXPECT_FALSE(scaler.Scale(nullptr, nullptr, 10, 10));
}

// A reduced copy no longer shown is written over by the next reduction of its size, whole and top
// row first; a spare of another size, or a bitmap Reduce did not make, is never written into.
TEST(EditorImageScaler, AReductionOfTheSpareSizeIsWrittenIntoTheSpare) {
    CBitmap image = Quadrants();
    ImageScaler scaler;
    CBitmap first = scaler.Reduce(image, nullptr, 40, 30);
    ASSERT_TRUE(first);
    const std::vector<uint32_t> wanted = PixelsOf(first);
    EXPECT_EQ(PixelOf(first, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(first, 35, 25), RGB(255, 255, 0));
    {  // a stale picture in it, as drawn before it was given back
        HDC memory = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(memory, first.GetSafeHandle());
        ::PatBlt(memory, 0, 0, 40, 30, WHITENESS);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    const HGDIOBJ handle = first.GetSafeHandle();
    scaler.KeepSpare(std::move(first));
    ASSERT_TRUE(scaler.HasSpare());
    CBitmap again = scaler.Reduce(image, nullptr, 40, 30);
    EXPECT_EQ(again.GetSafeHandle(), handle);
    EXPECT_FALSE(scaler.HasSpare());
    EXPECT_EQ(PixelsOf(again), wanted);

    scaler.KeepSpare(std::move(again));
    CBitmap smaller = scaler.Reduce(image, nullptr, 20, 15);
    ASSERT_TRUE(smaller);
    EXPECT_EQ(SizeOf(smaller), CSize(20, 15));
    EXPECT_EQ(PixelOf(smaller, 15, 3), RGB(0, 255, 0));
    EXPECT_FALSE(scaler.HasSpare());  // freed: its size was not wanted

    scaler.KeepSpare(BitmapOps::MakeCompatible(nullptr, 20, 15));
    EXPECT_FALSE(scaler.HasSpare());
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 20, 15, 1, 32, BI_RGB};  // bottom row first
    void* bits = nullptr;
    CBitmap elsewhere;
    elsewhere.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(elsewhere);
    scaler.KeepSpare(std::move(elsewhere));
    EXPECT_FALSE(scaler.HasSpare());
}

namespace {

// The picture's rows from memory, for the reduction without any window code.
class RowsInMemory : public AreaAverage::SourceRows {
public:
    RowsInMemory(const std::vector<uint32_t>& pixels, int width) : pixels_(pixels), width_(width) {}
    const uint8_t* Rows(int y, int, ptrdiff_t* stride) override {
        *stride = ptrdiff_t(width_) * 4;
        return reinterpret_cast<const uint8_t*>(pixels_.data() + size_t(y) * size_t(width_));
    }

private:
    const std::vector<uint32_t>& pixels_;
    int width_;
};

}  // namespace

// A reduction large enough for a helper to write a new section's pages first while it is averaged
// into them: the same pixels as the reduction straight from memory, and as the same reduction
// written into the section again as a spare.
TEST(EditorImageScaler, ALargeReductionIntoANewSectionIsWholeAndExact) {
    constexpr int kWidth = 2400, kHeight = 1800;
    CBitmap image;
    image.Attach(NamedBitmap(kWidth, kHeight));
    ASSERT_TRUE(image);
    const std::vector<uint32_t> source = PixelsOf(image);
    ImageScaler scaler;
    for (auto [w, h] : {std::pair{kWidth / 2, kHeight / 2}, std::pair{1100, 1000}}) {
        CBitmap reduced = scaler.Reduce(image, nullptr, w, h);  // over 4 MB: the helper's size
        ASSERT_TRUE(reduced) << w;
        std::vector<uint32_t> wanted(size_t(w) * h);
        RowsInMemory rows(source, kWidth);
        ASSERT_TRUE(AreaAverage::Reduce(rows, kWidth, kHeight, reinterpret_cast<uint8_t*>(wanted.data()),
                                        ptrdiff_t(w) * 4, w, h));
        for (uint32_t& p : wanted) p &= 0xFFFFFF;
        std::vector<uint32_t> got = PixelsOf(reduced);
        for (uint32_t& p : got) p &= 0xFFFFFF;
        EXPECT_EQ(got, wanted) << w;
        scaler.KeepSpare(std::move(reduced));
        CBitmap again = scaler.Reduce(image, nullptr, w, h);
        std::vector<uint32_t> gotAgain = PixelsOf(again);
        for (uint32_t& p : gotAgain) p &= 0xFFFFFF;
        EXPECT_EQ(gotAgain, wanted) << w;
    }
}

TEST(EditorResources, TheProgramCarriesItsCursorsWithTheirHotSpotsAndBothDialogs) {
    // The program's folder is the test's working folder.
    HMODULE program = ::LoadLibraryExA("Tessaly.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    const struct {
        int id;
        DWORD x, y;
    } cursors[] = {{146, 7, 20}, {147, 7, 20}, {186, 5, 13}};
    for (const auto& c : cursors) {
        HCURSOR cursor = static_cast<HCURSOR>(
            ::LoadImageA(program, MAKEINTRESOURCEA(c.id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
        ASSERT_NE(cursor, nullptr) << c.id;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, c.x) << c.id;
        EXPECT_EQ(info.yHotspot, c.y) << c.id;
        BITMAP mask{};
        ::GetObjectA(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, 32);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        ::DestroyCursor(cursor);
    }
    EXPECT_NE(::FindResourceA(program, MAKEINTRESOURCEA(148), reinterpret_cast<LPCSTR>(RT_DIALOG)), nullptr);
    EXPECT_NE(::FindResourceA(program, MAKEINTRESOURCEA(149), reinterpret_cast<LPCSTR>(RT_DIALOG)), nullptr);
    ::FreeLibrary(program);
}
