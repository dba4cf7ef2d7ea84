// The drawing tools on real bitmaps and a stand-in view: a mark lands on the image pixels under the
// mouse at 30 % and 300 %, each finished mark is one step of the history (the limit of six states
// kept), Undo gives the earlier pixels back exactly, and a mark or label that draws nothing, or is
// dropped for a new image, leaves no step; annotate.dat keeps the colour and width.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/atomic_file.h"
#include "app/settings_location.h"
#include "editor/annotate/annotate_store.h"
#include "editor/annotate/annotate_tools.h"
#include "editor/bitmap_ops.h"
#include "editor/image_editor.h"
#include "editor/mouse_tools.h"
#include "editor_test_support.h"

using namespace editor_test;

namespace {

struct Editor {
    FakeView view;
    bool hasImage = false;
    CBitmap imageBitmap;
    int zoomPercent = 100;
    int editMode = 0;
    bool hasSelection = false;
    DibBlock pendingDib;
    CBitmap clipboardBitmap;
    uint32_t backgroundColor = 0x00804000;
    EditorState state{hasImage, imageBitmap, zoomPercent, editMode, hasSelection,
                      pendingDib, clipboardBitmap, backgroundColor};
    ImageDisplay display{view, state};
    EditHistory history;
    MouseTools tools{view, state, display};
    ImageEditor editor{view, state, display, history, tools};
    AnnotateTools annotate{view, state, display, history, editor};

    void NewImage(int width, int height) {
        imageBitmap.Attach(NamedBitmap(width, height));
        hasImage = true;
        zoomPercent = 100;
        view.SetScrollTotal(CSize(width, height));
        editor.StartHistory();
    }
    // Client point of image pixel (x, y) at 100 % (the image is centred in the 400 x 300 client).
    CPoint At(int x, int y) const {
        const CSize size = SizeOf(imageBitmap);
        return CPoint((400 - size.cx) / 2 + x, (300 - size.cy) / 2 + y);
    }
    void Drag(Mark::Kind tool, CPoint from, CPoint to) {
        annotate.ChooseTool(tool);
        annotate.OnLButtonDown(from, false);
        annotate.OnMouseMove(to, false);
        annotate.OnLButtonUp(to, false);
    }
    int Steps() const {
        int steps = 0;
        for (int i = history.historyCurrent; i > history.historyBase + 1; --i) ++steps;
        return steps;
    }
    // Pixels that are not Named(x, y) any more, in the whole image.
    int Changed() {
        const CSize size = SizeOf(imageBitmap);
        int changed = 0;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x) changed += PixelOf(imageBitmap, x, y) != Named(x, y);
        return changed;
    }
};

}  // namespace

TEST(AnnotateTools, APenDotLandsOnThePixelUnderTheMouseAt30And300Percent) {
    Editor e;
    e.NewImage(600, 500);
    const COLORREF ink = e.annotate.Options().colour;
    // 300 %: the view scrolled to (31, 17); client (100, 50) shows image pixel ((100+31)/3, (50+17)/3).
    e.editor.ZoomUp();
    e.editor.ZoomUp();
    ASSERT_EQ(e.zoomPercent, 300);
    e.view.ScrollTo(CPoint(31, 17));
    e.Drag(Mark::kPen, CPoint(100, 50), CPoint(100, 50));
    EXPECT_EQ(PixelOf(e.imageBitmap, 43, 22), ink);
    EXPECT_EQ(PixelOf(e.imageBitmap, 43, 27), Named(43, 27));  // past the width of 4
    EXPECT_EQ(e.Steps(), 1);

    // 30 %: 180 x 150 drawn, centred in the 400 x 300 client; client (110 + 30, 75 + 30) is image
    // pixel (100, 100).
    for (int i = 0; i < 9; ++i) e.editor.ZoomDown();
    ASSERT_EQ(e.zoomPercent, 30);
    const CPoint origin((400 - 180) / 2, (300 - 150) / 2);
    e.Drag(Mark::kPen, CPoint(origin.x + 30, origin.y + 30), CPoint(origin.x + 30, origin.y + 30));
    EXPECT_EQ(PixelOf(e.imageBitmap, 100, 100), ink);
    EXPECT_EQ(PixelOf(e.imageBitmap, 106, 100), Named(106, 100));
    // The reduced copy was made again from the marked image.
    EXPECT_TRUE(e.display.displayBitmap);
}

TEST(AnnotateTools, ADragShowsOnlyWhatItChangesAndAsksForNoPaint) {
    Editor e;
    e.NewImage(300, 200);
    ::ShowWindow(e.view.window, SW_SHOWNA);
    e.annotate.ChooseTool(Mark::kPen);
    ASSERT_TRUE(::GetUpdateRect(e.view.window, nullptr, FALSE));  // the check below can see a paint
    ::ValidateRect(e.view.window, nullptr);
    e.annotate.OnLButtonDown(e.At(20, 20), false);
    for (int i = 1; i <= 10; ++i) e.annotate.OnMouseMove(e.At(20 + 8 * i, 20 + 3 * i), false);
    // The stroke is in the image, yet no part of the window waits for a paint.
    EXPECT_NE(PixelOf(e.imageBitmap, 60, 35), Named(60, 35));
    EXPECT_FALSE(::GetUpdateRect(e.view.window, nullptr, FALSE));
    e.annotate.OnLButtonUp(e.At(100, 50), false);
    EXPECT_FALSE(::GetUpdateRect(e.view.window, nullptr, FALSE));
    EXPECT_TRUE(e.history.CanUndo());
}

TEST(AnnotateTools, EachMarkIsOneStepUndoIsExactAndTheLimitHolds) {
    Editor e;
    e.NewImage(120, 90);
    e.Drag(Mark::kRectangle, e.At(10, 10), e.At(60, 40));
    const int afterRectangle = e.Changed();
    EXPECT_GT(afterRectangle, 0);
    e.Drag(Mark::kPixelate, e.At(70, 50), e.At(109, 79));
    // No pixel of the pixelated area keeps its value.
    for (int y = 50; y <= 79; ++y)
        for (int x = 70; x <= 109; ++x) ASSERT_NE(PixelOf(e.imageBitmap, x, y), Named(x, y)) << x << "," << y;
    e.editor.Undo();
    EXPECT_EQ(e.Changed(), afterRectangle);
    e.editor.Undo();
    EXPECT_EQ(e.Changed(), 0);
    e.editor.Redo();
    EXPECT_EQ(e.Changed(), afterRectangle);

    // Seven more marks: the ring keeps six states, five Undo steps.
    for (int i = 0; i < 7; ++i) e.Drag(Mark::kArrow, e.At(5, 5 + 10 * i), e.At(100, 5 + 10 * i));
    EXPECT_LE(e.history.BitmapCount(), 6);
    int undone = 0;
    while (e.history.CanUndo()) {
        e.editor.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 5);
}

TEST(AnnotateTools, MarksThatDrawNothingOrAreDroppedLeaveNoStep) {
    Editor e;
    e.NewImage(80, 60);
    const int top = e.history.historyTop;
    e.Drag(Mark::kRectangle, e.At(10, 10), e.At(10, 30));  // no width
    e.Drag(Mark::kArrow, e.At(20, 20), e.At(20, 20));      // no length
    EXPECT_EQ(e.history.historyTop, top);
    EXPECT_EQ(e.Changed(), 0);

    // A label: typed, then ended by a command (Finish) as the view does.
    e.annotate.ChooseTool(Mark::kText);
    e.annotate.OnLButtonDown(e.At(5, 5), false);
    ASSERT_TRUE(e.annotate.Typing());
    e.annotate.OnChar('W');
    e.annotate.Finish();
    EXPECT_FALSE(e.annotate.Typing());
    EXPECT_EQ(e.history.historyTop, top + 1);
    EXPECT_GT(e.Changed(), 0);

    // An empty label ends with nothing; Enter on it ends it.
    e.annotate.OnLButtonDown(e.At(40, 5), false);
    e.annotate.OnKeyDown(VK_RETURN);
    EXPECT_FALSE(e.annotate.Typing());
    EXPECT_EQ(e.history.historyTop, top + 1);

    // A drag cut short by a new image is dropped, not recorded onto the new image.
    e.annotate.ChooseTool(Mark::kPen);
    e.annotate.OnLButtonDown(e.At(10, 40), false);
    e.annotate.OnMouseMove(e.At(50, 40), false);
    e.annotate.Abandon();
    e.imageBitmap.DeleteObject();
    e.NewImage(80, 60);
    e.annotate.Finish();
    EXPECT_EQ(e.Changed(), 0);
    EXPECT_FALSE(e.history.CanUndo());
}

TEST(AnnotateTools, OptionsFileRoundTripsAndADamagedOneGivesTheDefaults) {
    const std::string path = SettingsFilePath("annotate.dat");
    AnnotateOptions chosen;
    chosen.colour = RGB(12, 34, 56);
    chosen.width = 8;
    ASSERT_TRUE(AnnotateStore::Save(chosen));
    AnnotateOptions back = AnnotateStore::Load();
    EXPECT_EQ(back.colour, chosen.colour);
    EXPECT_EQ(back.width, 8);
    // The tools start with what was stored.
    {
        Editor e;
        EXPECT_EQ(e.annotate.Options().width, 8);
    }
    // Longer than the format, or cut short: the defaults.
    for (const std::string& damaged : {chosen.Encode() + std::string(60, 'x'), chosen.Encode().substr(0, 7)}) {
        ASSERT_TRUE(AtomicFile::Replace(path, damaged.data(), damaged.size()));
        back = AnnotateStore::Load();
        EXPECT_EQ(back.width, AnnotateOptions::kDefaultWidth);
        EXPECT_EQ(back.colour, AnnotateOptions::kDefaultColour);
    }
    ::DeleteFileA(path.c_str());
    EXPECT_EQ(AnnotateStore::Load().width, AnnotateOptions::kDefaultWidth);
}
