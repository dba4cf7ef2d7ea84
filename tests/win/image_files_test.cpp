// The BMP writers, the DIB conversions and the JPEG library call, on real bitmaps under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "capture/dib_conversions.h"
#include "imagefile/bmp_writer.h"
#include "imagefile/jpeg_writer_call.h"
#include "app/library_search.h"

namespace {

std::string Folder() {
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::vector<uint8_t> data;
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return data;
    data.resize(::GetFileSize(f, nullptr));
    DWORD got = 0;
    ::ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    ::CloseHandle(f);
    return data;
}

uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
    return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | uint32_t(d[at + 3]) << 24;
}

// A screen-compatible bitmap whose pixel (x, y) has a colour made from x and y.
HBITMAP MakeTestBitmap(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) ::SetPixel(memory, x, y, RGB(x * 37 % 256, y * 53 % 256, (x + y) * 11 % 256));
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

std::vector<COLORREF> PixelsOf(HBITMAP bitmap, int width, int height) {
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels.push_back(::GetPixel(memory, x, y));
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    return pixels;
}

TEST(BmpWriter, TrueColourDisplayGives24BitFilesWithoutTable) {
    EXPECT_EQ(BmpWriter::DisplayDepth(), 24);  // the test display is 24/32 bits deep
    HBITMAP bitmap = MakeTestBitmap(5, 3);
    std::string path = Folder() + "w24.bmp";
    ASSERT_TRUE(BmpWriter::WriteBitmapAsBmp(bitmap, path, BmpWriter::DisplayDepth()));
    auto file = ReadFile(path);
    ASSERT_EQ(file.size(), 14u + 40 + 16 * 3);  // stride of 5 pixels at 24 bits is 16
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(U32(file, 2), file.size());
    EXPECT_EQ(U32(file, 10), 54u);
    EXPECT_EQ(U32(file, 14), 40u);
    EXPECT_EQ(file[28], 24);
    EXPECT_EQ(U32(file, 34), 0u);  // biSizeImage stays 0
    // Bottom row first: pixel (2, 2) is the third pixel of the first row (blue, green, red).
    COLORREF expected = RGB(2 * 37 % 256, 2 * 53 % 256, 4 * 11 % 256);
    EXPECT_EQ(file[54 + 6], GetBValue(expected));
    EXPECT_EQ(file[54 + 7], GetGValue(expected));
    EXPECT_EQ(file[54 + 8], GetRValue(expected));
    ::DeleteObject(bitmap);
}

TEST(BmpWriter, EightBitFileHas256TableEntries) {
    HBITMAP bitmap = MakeTestBitmap(1, 2);
    std::string path = Folder() + "w8.bmp";
    ASSERT_TRUE(BmpWriter::WriteBitmapAsBmp(bitmap, path, 8));
    auto file = ReadFile(path);
    EXPECT_EQ(U32(file, 10), 1078u);
    EXPECT_EQ(file.size(), 1078u + 2 * 4);  // width 1 at 8 bits: stride 4
    ::DeleteObject(bitmap);
}

TEST(BmpWriter, UnwritablePathFailsAndLeavesNothing) {
    HBITMAP bitmap = MakeTestBitmap(2, 2);
    EXPECT_FALSE(BmpWriter::WriteBitmapAsBmp(bitmap, Folder() + "missing folder\\x.bmp", 24));
    EXPECT_FALSE(BmpWriter::WriteBitmapAsBmp(nullptr, Folder() + "none.bmp", 24));
    EXPECT_EQ(::GetFileAttributesA((Folder() + "none.bmp").c_str()), INVALID_FILE_ATTRIBUTES);
    ::DeleteObject(bitmap);
}

TEST(DibConversions, RoundTripIsPixelExactAndDibWriterKeepsTheBlock) {
    HBITMAP bitmap = MakeTestBitmap(17, 9);
    DibBlock block(BitmapToDib(bitmap, BI_RGB, nullptr));
    ASSERT_TRUE(block);
    auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(block.Get()));
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biWidth, 17);
    EXPECT_EQ(header->biHeight, 9);
    EXPECT_EQ(header->biBitCount, 32);  // the screen's depth, no colour table
    SIZE_T blockSize = ::GlobalSize(block.Get());
    EXPECT_GE(blockSize, 40u + 17 * 4 * 9);
    ::GlobalUnlock(block.Get());

    HBITMAP back = DibToBitmap(block.Get(), nullptr);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(PixelsOf(back, 17, 9), PixelsOf(bitmap, 17, 9));

    std::string path = Folder() + "dib.bmp";
    ASSERT_TRUE(BmpWriter::WriteDibAsBmp(path, block.Get()));
    auto file = ReadFile(path);
    EXPECT_EQ(file.size(), blockSize + 14);
    EXPECT_EQ(U32(file, 2), blockSize + 14);
    EXPECT_EQ(U32(file, 10), 54u);
    EXPECT_EQ(BitmapToDib(bitmap, BI_BITFIELDS, nullptr), nullptr);
    EXPECT_FALSE(BmpWriter::WriteDibAsBmp(path, nullptr));
    ::DeleteObject(back);
    ::DeleteObject(bitmap);
}

TEST(BmpWriter, IndexedFileKeepsEveryColourOfASmallPalette) {
    HBITMAP bitmap = MakeTestBitmap(6, 5);  // 30 distinct colours at most
    std::string path = Folder() + "indexed.bmp";
    ASSERT_TRUE(BmpWriter::WriteBitmapAsIndexedBmp(bitmap, path));
    auto file = ReadFile(path);
    ASSERT_EQ(U32(file, 10), 1078u);
    auto original = PixelsOf(bitmap, 6, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            uint8_t index = file[1078 + (4 - y) * 8 + x];
            const uint8_t* entry = &file[54 + 4 * index];
            EXPECT_EQ(RGB(entry[2], entry[1], entry[0]), original[y * 6 + x]) << x << "," << y;
        }
    ::DeleteObject(bitmap);
}

TEST(JpegWriterCall, MissingLibraryOrExportIsReportedAndWritesNothing) {
    std::string bmp = Folder() + "src.bmp";
    HBITMAP bitmap = MakeTestBitmap(8, 8);
    ASSERT_TRUE(BmpWriter::WriteBitmapAsBmp(bitmap, bmp, 24));
    ::DeleteObject(bitmap);
    std::string jpeg = Folder() + "out.jpg";
    EXPECT_EQ(CallJpegWriter(bmp, jpeg, {}, true, "NoSuchLibrary.dll"), JpegCallResult::kLibraryMissing);
    EXPECT_EQ(CallJpegWriter(bmp, jpeg, {}, true, "JpegStubWithoutExport.dll"), JpegCallResult::kExportMissing);
    EXPECT_EQ(::GetFileAttributesA(jpeg.c_str()), INVALID_FILE_ATTRIBUTES);
    // The real library writes a JPEG and leaves the BMP as it was.
    auto before = ReadFile(bmp);
    EXPECT_EQ(CallJpegWriter(bmp, jpeg, {}, true), JpegCallResult::kCalled);
    auto jpg = ReadFile(jpeg);
    ASSERT_GT(jpg.size(), 4u);
    EXPECT_EQ(jpg[0], 0xFF);
    EXPECT_EQ(jpg[1], 0xD8);
    EXPECT_EQ(ReadFile(bmp), before);
}

TEST(JpegWriterCall, ALibraryInTheCurrentFolderIsNeverLoaded) {
    // The Open and Save As dialogs move the current folder wherever the user browses: a copy of
    // the writer there (the program's own missing) must not be loaded and run.
    const std::string planted = Folder() + "planted\\";
    ::CreateDirectoryA(planted.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA((Folder() + "Wexbury.dll").c_str(), (planted + "PlantedWriter.dll").c_str(), FALSE));
    char before[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, before);
    ASSERT_TRUE(::SetCurrentDirectoryA(planted.c_str()));

    std::string bmp = Folder() + "planted_src.bmp", jpeg = Folder() + "planted_out.jpg";
    HBITMAP bitmap = MakeTestBitmap(8, 8);
    ASSERT_TRUE(BmpWriter::WriteBitmapAsBmp(bitmap, bmp, 24));
    ::DeleteObject(bitmap);
    EXPECT_EQ(CallJpegWriter(bmp, jpeg, {}, true, "PlantedWriter.dll"), JpegCallResult::kLibraryMissing);
    EXPECT_EQ(::GetFileAttributesA(jpeg.c_str()), INVALID_FILE_ATTRIBUTES);

    // Once the process has taken the current folder out of its search, no bare name finds it
    // there either; the program's own folder still serves.
    LibrarySearch::LimitToProgramAndSystemFolders();
    HMODULE found = ::LoadLibraryA("PlantedWriter.dll");
    EXPECT_EQ(found, nullptr);
    if (found) ::FreeLibrary(found);
    EXPECT_EQ(CallJpegWriter(bmp, jpeg, {}, true), JpegCallResult::kCalled);

    ::SetCurrentDirectoryA(before);
    ::DeleteFileA((planted + "PlantedWriter.dll").c_str());
    ::RemoveDirectoryA(planted.c_str());
}

}  // namespace
