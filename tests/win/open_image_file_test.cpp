// Opening image files through the system's picture loader: files of our own writers and of the
// reference tools decode to the right picture; missing, foreign, damaged and enormous files are
// refused and leave the bitmap held as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "imagefile/bmp_writer.h"
#include "imagefile/gif_encoder.h"
#include "imagefile/image_file_check.h"
#include "imagefile/jpeg_writer_call.h"
#include "imagefile/open_image_file.h"

namespace {

std::string Folder() {
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string ReadAll(const std::string& path) {
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "";
    std::string data(::GetFileSize(f, nullptr), '\0');
    DWORD got = 0;
    ::ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    ::CloseHandle(f);
    return data;
}

std::string WriteAll(const std::string& name, const std::string& data) {
    const std::string path = Folder() + name;
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    ::CloseHandle(f);
    return path;
}

// The picture every test file shows: 64 x 48 in four solid quarters.
const COLORREF kQuarters[4] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
const POINT kQuarterCentres[4] = {{16, 12}, {48, 12}, {16, 36}, {48, 36}};

HBITMAP MakeQuarters() {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 64, 48);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    for (int q = 0; q < 4; ++q) {
        RECT r{(q % 2) * 32, (q / 2) * 24, (q % 2) * 32 + 32, (q / 2) * 24 + 24};
        HBRUSH brush = ::CreateSolidBrush(kQuarters[q]);
        ::FillRect(memory, &r, brush);
        ::DeleteObject(brush);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

COLORREF PixelOf(const CBitmap& bitmap, POINT p) {
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap.GetSafeHandle());
    COLORREF c = ::GetPixel(memory, p.x, p.y);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return c;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Opens `path` and checks the four quarters; `gray` files compare by brightness only.
void ExpectQuarters(const std::string& path, int tolerance, bool gray = false) {
    SCOPED_TRACE(path);
    CBitmap bitmap;
    ASSERT_EQ(OpenImageFile(path, bitmap), OpenImageStatus::kOpened);
    BITMAP info{};
    ASSERT_TRUE(bitmap.GetBitmap(&info));
    EXPECT_EQ(info.bmWidth, 64);
    EXPECT_EQ(info.bmHeight, 48);
    // In the display's format: as deep as a bitmap made for the screen.
    HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(info.bmBitsPixel * info.bmPlanes, ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES));
    ::ReleaseDC(nullptr, screen);
    for (int q = 0; q < 4; ++q) {
        COLORREF expected = kQuarters[q], got = PixelOf(bitmap, kQuarterCentres[q]);
        if (gray) {
            // ImageMagick's gray is the Rec. 709 luma.
            const int luma = (GetRValue(expected) * 2126 + GetGValue(expected) * 7152 + GetBValue(expected) * 722) / 10000;
            expected = RGB(luma, luma, luma);
        }
        EXPECT_TRUE(Near(got, expected, tolerance)) << "quarter " << q << ": " << std::hex << got << " for " << expected;
    }
}

// A refused file leaves the bitmap held exactly as it was.
void ExpectRefused(const std::string& path, OpenImageStatus status) {
    SCOPED_TRACE(path);
    CBitmap bitmap;
    bitmap.Attach(MakeQuarters());
    HGDIOBJ before = bitmap.GetSafeHandle();
    EXPECT_EQ(OpenImageFile(path, bitmap), status);
    EXPECT_EQ(bitmap.GetSafeHandle(), before);
    EXPECT_EQ(PixelOf(bitmap, kQuarterCentres[3]), kQuarters[3]);
}

TEST(OpenImageFile, FilesOfOurOwnWriters) {
    HBITMAP source = MakeQuarters();
    const std::string bmp = Folder() + "ours.bmp", indexed = Folder() + "ours8.bmp", gif = Folder() + "ours.gif";
    ASSERT_TRUE(BmpWriter::WriteBitmapAsBmp(source, bmp, 24));
    ExpectQuarters(bmp, 0);
    ASSERT_TRUE(BmpWriter::WriteBitmapAsIndexedBmp(source, indexed));
    ExpectQuarters(indexed, 0);
    EncodeGifFromBmp(indexed, gif);
    ExpectQuarters(gif, 0);
    // JPEG through our writer library, as a save makes it.
    for (int progressive : {0, 1}) {
        const std::string jpeg = Folder() + "ours" + std::to_string(progressive) + ".jpg";
        JpegOptions options;
        options.quality = 90;
        options.progressive = progressive;
        ASSERT_EQ(CallJpegWriter(bmp, jpeg, options, true), JpegCallResult::kCalled);
        ExpectQuarters(jpeg, 24);
    }
    ::DeleteObject(source);
}

TEST(OpenImageFile, FilesOfTheReferenceTools) {
    ExpectQuarters(Folder() + "ref_cjpeg_baseline.jpg", 24);
    ExpectQuarters(Folder() + "ref_cjpeg_progressive.jpg", 32);
    ExpectQuarters(Folder() + "ref_magick_gray.jpg", 24, true);
    ExpectQuarters(Folder() + "ref_gif2rgb.gif", 8);  // gif2rgb keeps five bits a colour channel
    ExpectQuarters(Folder() + "ref_magick_interlaced.gif", 0);
    ExpectQuarters(Folder() + "ref_magick_palette.bmp", 0);
    ExpectQuarters(Folder() + "ref_magick_rgb24.bmp", 0);
    ExpectQuarters(Folder() + "ref_magick_rgba32.bmp", 0);
}

TEST(OpenImageFile, MissingHeldAndForeignFilesChangeNothing) {
    ExpectRefused(Folder() + "no such file.bmp", OpenImageStatus::kCannotOpen);
    // A file another program holds open while letting others read it (a viewer, an editor that
    // keeps it open for writing) opens; one held without any sharing cannot be opened.
    const std::string held = Folder() + "held.bmp";
    HBITMAP source = MakeQuarters();
    ASSERT_TRUE(BmpWriter::WriteBitmapAsBmp(source, held, 24));
    ::DeleteObject(source);
    HANDLE holder = ::CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ExpectQuarters(held, 0);
    ::CloseHandle(holder);
    holder = ::CreateFileA(held.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ExpectQuarters(held, 0);
    ::CloseHandle(holder);
    holder = ::CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ExpectRefused(held, OpenImageStatus::kCannotOpen);
    ::CloseHandle(holder);

    std::string garbage(5000, '\0');
    srand(7);
    for (char& c : garbage) c = static_cast<char>(rand());
    ExpectRefused(WriteAll("garbage.jpg", garbage), OpenImageStatus::kNotAnImage);
    ExpectRefused(WriteAll("empty.gif", ""), OpenImageStatus::kNotAnImage);
    // Pictures the loader could decode but that are no BMP, GIF or JPEG are refused too.
    ExpectRefused(Folder() + "ref_magick.png", OpenImageStatus::kNotAnImage);
}

TEST(OpenImageFile, TruncatedFiles) {
    // Cut inside their headers: refused, whatever the kind.
    for (const char* name : {"ref_magick_rgb24.bmp", "ref_cjpeg_baseline.jpg", "ref_gif2rgb.gif"}) {
        std::string data = ReadAll(Folder() + name);
        ASSERT_GT(data.size(), 100u) << name;
        ExpectRefused(WriteAll(std::string("head_") + name, data.substr(0, 12)), OpenImageStatus::kNotAnImage);
    }
    // A BMP missing part of its rows would come out partly black without a word: refused.
    std::string bmp = ReadAll(Folder() + "ref_magick_rgb24.bmp");
    ExpectRefused(WriteAll("rows_cut.bmp", bmp.substr(0, bmp.size() / 2)), OpenImageStatus::kNotAnImage);
    // JPEG and GIF data cut short: whatever the loader makes of it, never a crash, never a
    // picture of another size, and a refusal leaves the bitmap alone.
    for (const char* name : {"ref_cjpeg_baseline.jpg", "ref_gif2rgb.gif"}) {
        SCOPED_TRACE(name);
        std::string data = ReadAll(Folder() + name);
        const std::string path = WriteAll(std::string("cut_") + name, data.substr(0, data.size() * 2 / 3));
        CBitmap bitmap;
        bitmap.Attach(MakeQuarters());
        HGDIOBJ before = bitmap.GetSafeHandle();
        OpenImageStatus status = OpenImageFile(path, bitmap);
        if (status == OpenImageStatus::kOpened) {
            EXPECT_EQ(bitmap.GetSize(), CSize(64, 48));
        } else {
            EXPECT_EQ(status, OpenImageStatus::kNotAnImage);
            EXPECT_EQ(bitmap.GetSafeHandle(), before);
        }
    }
}

TEST(OpenImageFile, PicturesClaimingHugeSizesAreRefusedUnallocated) {
    std::string bmp = ReadAll(Folder() + "ref_magick_rgb24.bmp");
    auto put32 = [](std::string& d, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) d[at + i] = static_cast<char>(v >> (8 * i));
    };
    put32(bmp, 18, 100000);
    put32(bmp, 22, 100000);
    ExpectRefused(WriteAll("huge.bmp", bmp), OpenImageStatus::kTooLarge);

    std::string jpeg = ReadAll(Folder() + "ref_cjpeg_baseline.jpg");
    const size_t frame = jpeg.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    jpeg.replace(frame + 5, 4, "\xFF\xFF\xFF\xFF");  // 65535 x 65535
    ExpectRefused(WriteAll("huge.jpg", jpeg), OpenImageStatus::kTooLarge);

    std::string gif = ReadAll(Folder() + "ref_gif2rgb.gif");
    gif.replace(6, 4, "\xFF\xFF\xFF\xFF");  // a 65535 x 65535 screen
    ExpectRefused(WriteAll("huge.gif", gif), OpenImageStatus::kTooLarge);

}

TEST(OpenImageFile, TheLargestPictureHeldStillOpens) {
    // 4096 x 4096 at one bit a pixel: a small file for the largest picture (64 MB on this display).
    const int side = 4096;
    static_assert(ImageFileCheck::kMaxPixels == int64_t(side) * side);
    const uint32_t stride = side / 8, table = 8, offset = 14 + 40 + table;
    std::string bmp(offset + size_t(stride) * side, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, uint32_t(bmp.size()));
    put32(10, offset);
    put32(14, 40);
    put32(18, side);
    put32(22, side);
    bmp[26] = 1;  // planes
    bmp[28] = 1;  // bits a pixel
    put32(54 + 4, 0x00FFFFFF);  // colour 1 is white; colour 0 black
    bmp[offset] = static_cast<char>(0x80);  // bottom row, first pixel white
    CBitmap bitmap;
    ASSERT_EQ(OpenImageFile(WriteAll("largest.bmp", bmp), bitmap), OpenImageStatus::kOpened);
    EXPECT_EQ(bitmap.GetSize(), CSize(side, side));
    EXPECT_EQ(PixelOf(bitmap, POINT{0, side - 1}), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(bitmap, POINT{1, side - 1}), RGB(0, 0, 0));
}

}  // namespace
