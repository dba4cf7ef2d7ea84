// Opening image files through the system's picture loader (and PNG through our decoder): files of
// our own writers and of the reference tools decode to the right picture; missing, foreign, damaged and enormous files are
// refused and leave the bitmap held as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <zlib.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "imagefile/bmp_writer.h"
#include "imagefile/gif_encoder.h"
#include "imagefile/image_file_check.h"
#include "imagefile/jpeg_writer_call.h"
#include "imagefile/open_image_file.h"
#include "imagefile/png_file_writer.h"

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
    // PNG, lossless: from the bitmap, and from the packed DIB a direct grab leaves.
    const std::string png = Folder() + "ours.png";
    ASSERT_TRUE(PngFileWriter::WriteBitmap(source, png));
    ExpectQuarters(png, 0);
    BITMAPINFOHEADER header{sizeof header, 64, 48, 1, 24, BI_RGB};
    const size_t stride = 64 * 3;
    HGLOBAL dib = ::GlobalAlloc(GMEM_MOVEABLE, sizeof header + stride * 48);
    auto* bytes = static_cast<uint8_t*>(::GlobalLock(dib));
    memcpy(bytes, &header, sizeof header);
    HDC screen = ::GetDC(nullptr);
    ASSERT_EQ(::GetDIBits(screen, source, 0, 48, bytes + sizeof header, reinterpret_cast<BITMAPINFO*>(bytes),
                          DIB_RGB_COLORS), 48);
    ::ReleaseDC(nullptr, screen);
    ::GlobalUnlock(dib);
    const std::string fromDib = Folder() + "ours_dib.png";
    ASSERT_TRUE(PngFileWriter::WriteDib(dib, fromDib));
    ExpectQuarters(fromDib, 0);
    ::GlobalFree(dib);
    // A folder that cannot be written: no file, and false.
    EXPECT_FALSE(PngFileWriter::WriteBitmap(source, Folder() + "no such folder\\x.png"));
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

TEST(OpenImageFile, PngFilesOfLibpngInEveryLayout) {
    for (const char* name : {"ref_magick.png", "ref_magick_palette.png", "ref_magick_rgb.png", "ref_magick_rgb16.png",
                             "ref_magick_interlaced.png", "ref_optipng.png"})
        ExpectQuarters(Folder() + name, 0);
    ExpectQuarters(Folder() + "ref_magick_gray16.png", 2, true);
    // Transparent pixels show white, the colour of an empty page.
    CBitmap bitmap;
    ASSERT_EQ(OpenImageFile(Folder() + "ref_magick_rgba.png", bitmap), OpenImageStatus::kOpened);
    EXPECT_EQ(PixelOf(bitmap, kQuarterCentres[0]), RGB(255, 255, 255));
    for (int q = 1; q < 4; ++q) EXPECT_EQ(PixelOf(bitmap, kQuarterCentres[q]), kQuarters[q]) << q;
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
    // Pictures the loader could decode but that are no BMP, GIF, JPEG or PNG are refused too.
    ExpectRefused(Folder() + "ref_magick.tif", OpenImageStatus::kNotAnImage);
}

TEST(OpenImageFile, TruncatedFiles) {
    // Cut inside their headers: refused, whatever the kind.
    for (const char* name : {"ref_magick_rgb24.bmp", "ref_cjpeg_baseline.jpg", "ref_gif2rgb.gif", "ref_magick_rgb.png"}) {
        std::string data = ReadAll(Folder() + name);
        ASSERT_GT(data.size(), 100u) << name;
        ExpectRefused(WriteAll(std::string("head_") + name, data.substr(0, 12)), OpenImageStatus::kNotAnImage);
    }
    // A BMP missing part of its rows would come out partly black without a word: refused.
    std::string bmp = ReadAll(Folder() + "ref_magick_rgb24.bmp");
    ExpectRefused(WriteAll("rows_cut.bmp", bmp.substr(0, bmp.size() / 2)), OpenImageStatus::kNotAnImage);
    // So would a PNG whose pixel data ends early, or that lacks its end.
    std::string png = ReadAll(Folder() + "ref_magick_rgb.png");
    ExpectRefused(WriteAll("cut.png", png.substr(0, png.size() * 2 / 3)), OpenImageStatus::kNotAnImage);
    ExpectRefused(WriteAll("no_end.png", png.substr(0, png.size() - 12)), OpenImageStatus::kNotAnImage);
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

    // A PNG header claiming 7681 x 4320, one column past the largest picture, with a correct CRC.
    std::string png = ReadAll(Folder() + "ref_magick_rgb.png");
    ASSERT_GT(png.size(), 33u);
    png.replace(16, 8, std::string("\x00\x00\x1E\x01\x00\x00\x10\xE0", 8));
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
    for (int i = 0; i < 4; ++i) png[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    ExpectRefused(WriteAll("huge.png", png), OpenImageStatus::kTooLarge);

}

TEST(OpenImageFile, TheLargestPictureHeldStillOpens) {
    // 7680 x 4320 at one bit a pixel: a small file for the largest picture (127 MB on this display).
    const int width = 7680, height = 4320;
    static_assert(ImageFileCheck::kMaxPixels == int64_t(width) * height);
    const uint32_t stride = width / 8, table = 8, offset = 14 + 40 + table;
    std::string bmp(offset + size_t(stride) * height, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>(v >> (8 * i));
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, uint32_t(bmp.size()));
    put32(10, offset);
    put32(14, 40);
    put32(18, width);
    put32(22, height);
    bmp[26] = 1;  // planes
    bmp[28] = 1;  // bits a pixel
    put32(54 + 4, 0x00FFFFFF);  // colour 1 is white; colour 0 black
    bmp[offset] = static_cast<char>(0x80);  // bottom row, first pixel white
    CBitmap bitmap;
    ASSERT_EQ(OpenImageFile(WriteAll("largest.bmp", bmp), bitmap), OpenImageStatus::kOpened);
    EXPECT_EQ(bitmap.GetSize(), CSize(width, height));
    EXPECT_EQ(PixelOf(bitmap, POINT{0, height - 1}), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(bitmap, POINT{1, height - 1}), RGB(0, 0, 0));
}

}  // namespace
