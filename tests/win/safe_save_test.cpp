// Saving over a file that exists: a save that fails leaves the old file byte for byte and no file of
// its own behind, in every format and from both kinds of image; the short-lived copies a save makes
// are gone when it returns.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "capture/dib_conversions.h"
#include "imagefile/image_saver.h"
#include "imagefile/replacing_save.h"
#include "imagefile/save_naming.h"

namespace {

std::string Folder() {
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string ReadAll(const std::string& path) {
    std::string data;
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "(missing)";
    data.resize(::GetFileSize(f, nullptr));
    DWORD got = 0;
    ::ReadFile(f, &data[0], static_cast<DWORD>(data.size()), &got, nullptr);
    ::CloseHandle(f);
    return data;
}

void WriteAll(const std::string& path, const std::string& data) {
    ASSERT_TRUE(WriteFileBytes(path, data.data(), data.size())) << path;
}

// The names in `folder`.
std::set<std::string> Listing(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.insert(name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

HBITMAP MakeBitmap(int width, int height) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    for (int y = 0; y < height && width * height <= 4096; ++y)
        for (int x = 0; x < width; ++x) ::SetPixel(memory, x, y, RGB(x * 40 % 256, y * 70 % 256, 90));
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

// Each test saves into a folder of its own, with a scratch folder standing in for %TEMP%.
class SafeSave : public ::testing::Test {
protected:
    void SetUp() override {
        folder = Folder() + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        scratch = folder + "scratch\\";
        ::CreateDirectoryA(folder.c_str(), nullptr);
        ::CreateDirectoryA(scratch.c_str(), nullptr);
        bitmap = MakeBitmap(16, 12);
        dib = DibBlock(BitmapToDib(bitmap, BI_RGB, nullptr));
        ASSERT_TRUE(dib);
    }
    void TearDown() override { ::DeleteObject(bitmap); }

    ImageSaver::Outcome Save(const ImageSaver::Image& image, int format, const std::string& name) {
        return ImageSaver::WriteImage(image, format, folder + name, {}, true, scratch);
    }
    ImageSaver::Image FromBitmap(HBITMAP b) const { return {b, nullptr}; }
    ImageSaver::Image FromDib() const { return {nullptr, dib.Get()}; }

    // `name` holds what it held before, and the folders hold nothing a save left behind.
    void ExpectUntouched(const std::string& name, const std::string& before) {
        EXPECT_EQ(ReadAll(folder + name), before) << name;
        EXPECT_EQ(Listing(folder), (std::set<std::string>{name, "scratch"})) << name;
        EXPECT_TRUE(Listing(scratch).empty()) << name;
    }

    std::string folder, scratch;
    HBITMAP bitmap = nullptr;
    DibBlock dib;
};

const std::string kOldImage = "an earlier capture the user keeps";

TEST_F(SafeSave, FailedBmpSaveLeavesTheOldFile) {
    WriteAll(folder + "old.bmp", kOldImage);
    // A bitmap that can no longer be read: the writer fails after its file was made.
    HBITMAP gone = MakeBitmap(8, 8);
    ::DeleteObject(gone);
    EXPECT_EQ(Save(FromBitmap(gone), SaveNaming::kBmp, "old.bmp"), ImageSaver::Outcome::kFailed);
    ExpectUntouched("old.bmp", kOldImage);

    // The new file is complete, but another program holds the old one open: it cannot be replaced.
    HANDLE holder = ::CreateFileA((folder + "old.bmp").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Save(FromDib(), SaveNaming::kBmp, "old.bmp"), ImageSaver::Outcome::kFailed);
    ::CloseHandle(holder);
    ExpectUntouched("old.bmp", kOldImage);

    // Once it is free, both kinds of image replace it.
    ASSERT_EQ(Save(FromDib(), SaveNaming::kBmp, "old.bmp"), ImageSaver::Outcome::kSaved);
    EXPECT_EQ(ReadAll(folder + "old.bmp").substr(0, 2), "BM");
    ASSERT_EQ(Save(FromBitmap(bitmap), SaveNaming::kBmp, "old.bmp"), ImageSaver::Outcome::kSaved);
    EXPECT_EQ(ReadAll(folder + "old.bmp").size(), 14u + 40 + 48 * 12);  // 24 bits, rows of 48 bytes
    EXPECT_EQ(Listing(folder), (std::set<std::string>{"old.bmp", "scratch"}));
}

TEST_F(SafeSave, FailedOrRefusedGifSaveLeavesTheOldFile) {
    WriteAll(folder + "old.gif", kOldImage);
    HBITMAP gone = MakeBitmap(8, 8);
    ::DeleteObject(gone);
    EXPECT_EQ(Save(FromBitmap(gone), SaveNaming::kGif, "old.gif"), ImageSaver::Outcome::kFailed);
    ExpectUntouched("old.gif", kOldImage);

    // Wider than a GIF can say: refused before anything is written.
    HBITMAP wide = MakeBitmap(70000, 1);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(Save(FromBitmap(wide), SaveNaming::kGif, "old.gif"), ImageSaver::Outcome::kRefused);
    EXPECT_EQ(Save(FromBitmap(wide), SaveNaming::kGif, "new.gif"), ImageSaver::Outcome::kRefused);
    ::DeleteObject(wide);
    ExpectUntouched("old.gif", kOldImage);

    ASSERT_EQ(Save(FromBitmap(bitmap), SaveNaming::kGif, "old.gif"), ImageSaver::Outcome::kSaved);
    EXPECT_EQ(ReadAll(folder + "old.gif").substr(0, 6), "GIF89a");
    ASSERT_EQ(Save(FromDib(), SaveNaming::kGif, "old.gif"), ImageSaver::Outcome::kSaved);
    EXPECT_EQ(ReadAll(folder + "old.gif").substr(0, 6), "GIF89a");
    EXPECT_TRUE(Listing(scratch).empty());
}

TEST_F(SafeSave, JpegSaveWithoutTheLibraryLeavesTheOldFile) {
    WriteAll(folder + "old.jpg", kOldImage);
    // The program's own Wexbury.dll taken away, as on a machine where it went missing.
    const std::string library = Folder() + "Wexbury.dll", away = Folder() + "Wexbury.dll.away";
    ASSERT_TRUE(::MoveFileA(library.c_str(), away.c_str()));
    ImageSaver::Outcome withoutLibrary = Save(FromBitmap(bitmap), SaveNaming::kJpeg, "old.jpg");
    ImageSaver::Outcome dibWithoutLibrary = Save(FromDib(), SaveNaming::kJpeg, "old.jpg");
    ASSERT_TRUE(::MoveFileA(away.c_str(), library.c_str()));
    EXPECT_EQ(withoutLibrary, ImageSaver::Outcome::kFailed);
    EXPECT_EQ(dibWithoutLibrary, ImageSaver::Outcome::kFailed);
    ExpectUntouched("old.jpg", kOldImage);

    ASSERT_EQ(Save(FromBitmap(bitmap), SaveNaming::kJpeg, "old.jpg"), ImageSaver::Outcome::kSaved);
    EXPECT_EQ(ReadAll(folder + "old.jpg").substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(Listing(folder), (std::set<std::string>{"old.jpg", "scratch"}));
    EXPECT_TRUE(Listing(scratch).empty());
}

TEST_F(SafeSave, TenGifAndTenJpegSavesLeaveNothingButTheirFiles) {
    std::set<std::string> expected{"scratch"};
    for (int i = 0; i < 10; ++i) {
        std::string gif = "shot" + std::to_string(i) + ".gif", jpeg = "shot" + std::to_string(i) + ".jpg";
        ASSERT_EQ(Save(i % 2 ? FromDib() : FromBitmap(bitmap), SaveNaming::kGif, gif), ImageSaver::Outcome::kSaved);
        ASSERT_EQ(Save(i % 2 ? FromDib() : FromBitmap(bitmap), SaveNaming::kJpeg, jpeg), ImageSaver::Outcome::kSaved);
        expected.insert(gif);
        expected.insert(jpeg);
    }
    EXPECT_TRUE(Listing(scratch).empty());
    EXPECT_EQ(Listing(folder), expected);
}

TEST_F(SafeSave, SaveIntoAMissingFolderFailsAndMakesNothing) {
    EXPECT_EQ(Save(FromBitmap(bitmap), SaveNaming::kBmp, "no such folder\\shot.bmp"), ImageSaver::Outcome::kFailed);
    EXPECT_EQ(Listing(folder), (std::set<std::string>{"scratch"}));
}

TEST_F(SafeSave, ReplacingSaveKeepsTheTargetUntilCommitAndNeverMovesAnEmptyFile) {
    const std::string target = folder + "target.bmp";
    WriteAll(target, kOldImage);
    {
        // A writer that gives up half-way never reaches Commit.
        ReplacingSave save(target);
        ASSERT_TRUE(save.Ready());
        EXPECT_EQ(FolderOf(save.TemporaryPath()), folder);
        WriteAll(save.TemporaryPath(), "half a fi");
    }
    ExpectUntouched("target.bmp", kOldImage);
    {
        ReplacingSave save(target);  // a writer that wrote nothing and said nothing
        EXPECT_FALSE(save.Commit());
    }
    ExpectUntouched("target.bmp", kOldImage);
    {
        ReplacingSave save(target);
        WriteAll(save.TemporaryPath(), "the new capture");
        EXPECT_TRUE(save.Commit());
    }
    EXPECT_EQ(ReadAll(target), "the new capture");
    EXPECT_EQ(Listing(folder), (std::set<std::string>{"target.bmp", "scratch"}));
}

TEST_F(SafeSave, TemporaryFilesHaveNamesOfTheirOwn) {
    std::set<std::string> names;
    {
        TemporaryFile a(scratch, "tsc"), b(scratch, "tsc"), c(scratch, "tsc");
        for (const TemporaryFile* t : {&a, &b, &c}) {
            ASSERT_TRUE(t->Made());
            names.insert(t->Path());
        }
        EXPECT_EQ(Listing(scratch).size(), 3u);
    }
    EXPECT_EQ(names.size(), 3u);
    EXPECT_TRUE(Listing(scratch).empty());
    EXPECT_FALSE(TemporaryFile(folder + "no such folder\\", "tsc").Made());
}

}  // namespace
