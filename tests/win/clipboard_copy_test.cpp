// The clipboard step of a capture: the user's clipboard is emptied only when the new image is
// ready to take its place.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "capture/clipboard_copy.h"

namespace {

class ClipboardCopy : public ::testing::Test {
protected:
    void SetUp() override {
        window = ::CreateWindowExA(0, "STATIC", "clipboard test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        PutText("what the user copied before");
    }
    void TearDown() override { ::DestroyWindow(window); }

    void PutText(const char* text) {
        ASSERT_TRUE(::OpenClipboard(window));
        ::EmptyClipboard();
        HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
        std::memcpy(::GlobalLock(block), text, std::strlen(text) + 1);
        ::GlobalUnlock(block);
        ASSERT_NE(::SetClipboardData(CF_TEXT, block), nullptr);
        ::CloseClipboard();
    }
    std::string Text() {
        std::string text = "(no text)";
        if (!::OpenClipboard(window)) return "(busy)";
        if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(::GlobalLock(data));
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
        return text;
    }

    HWND window = nullptr;
    CBitmap holder;
};

HBITMAP MakeBitmap(int width, int height, COLORREF colour) {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    RECT all{0, 0, width, height};
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(memory, &all, brush);
    ::DeleteObject(brush);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

TEST_F(ClipboardCopy, ACopyThatCannotBeMadeKeepsTheOldContents) {
    HBITMAP gone = MakeBitmap(8, 8, RGB(1, 2, 3));
    ::DeleteObject(gone);
    EXPECT_FALSE(CopyImageToClipboard(window, gone, 8, 8, holder));  // an image that can no longer be read
    EXPECT_EQ(Text(), "what the user copied before");

    HBITMAP image = MakeBitmap(8, 8, RGB(1, 2, 3));
    EXPECT_FALSE(CopyImageToClipboard(window, image, 200000, 200000, holder));  // no memory for the copy
    EXPECT_EQ(Text(), "what the user copied before");
    EXPECT_FALSE(CopyImageToClipboard(window, nullptr, 8, 8, holder));
    EXPECT_EQ(Text(), "what the user copied before");
    EXPECT_EQ(holder.GetSafeHandle(), nullptr);
    ::DeleteObject(image);
}

TEST_F(ClipboardCopy, AFinishedCopyTakesThePlaceOfTheOldContents) {
    HBITMAP image = MakeBitmap(12, 7, RGB(200, 30, 90));
    ASSERT_TRUE(CopyImageToClipboard(window, image, 12, 7, holder));
    EXPECT_EQ(holder.GetSafeHandle(), nullptr);  // the clipboard owns the copy now
    ASSERT_TRUE(::OpenClipboard(window));
    EXPECT_EQ(::GetClipboardData(CF_TEXT), nullptr);
    auto copy = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, image);
    BITMAP bm{};
    ASSERT_TRUE(::GetObjectA(copy, sizeof bm, &bm));
    EXPECT_EQ(bm.bmWidth, 12);
    EXPECT_EQ(bm.bmHeight, 7);
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(memory, copy);
    EXPECT_EQ(::GetPixel(memory, 11, 6), RGB(200, 30, 90));
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::CloseClipboard();
    ::DeleteObject(image);
}

}  // namespace
