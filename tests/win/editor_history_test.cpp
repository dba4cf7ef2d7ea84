// The edit history with real bitmaps, and the edit commands on a stand-in view: undo and redo,
// crop, resize, rotate and the zoom steps, and edits whose bitmaps cannot be made.
#include <gtest/gtest.h>

#include <windows.h>

#include "editor/bitmap_ops.h"
#include "editor/edit_history.h"
#include "editor/image_display.h"
#include "editor/image_editor.h"
#include "editor/mouse_tools.h"
#include "editor_test_support.h"

using namespace editor_test;

namespace {

// The editor's objects wired up as the view wires them, around a FakeView.
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

    // A new image as the capture pipeline hands it over.
    void NewImage(int width, int height) {
        imageBitmap.Attach(NamedBitmap(width, height));
        hasImage = true;
        editMode = EditorState::kEditMove;
        zoomPercent = 100;
        view.SetScrollTotal(CSize(width, height));
        editor.StartHistory();
        editor.ShowImageStatus();
    }
    void Select(int left, int top, int right, int bottom) {
        tools.selection = {left, top, right, bottom};
        hasSelection = true;
    }
    CSize ImageSize() const { return SizeOf(imageBitmap); }
};

}  // namespace

TEST(EditorHistory, SevenStatesKeepSixAndFiveUndoSteps) {
    Editor e;
    e.NewImage(64, 48);
    for (int i = 0; i < 6; ++i) {
        e.Select(0, 0, 62 - i, 47);  // 63, 62, ... 58 wide
        e.editor.Crop();
    }
    EXPECT_EQ(e.ImageSize().cx, 58);
    EXPECT_LE(e.history.BitmapCount(), 6);
    int undone = 0;
    while (e.history.CanUndo()) {
        e.editor.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 5);
    // The first capture's state is gone: the oldest reachable is after the first crop.
    EXPECT_EQ(e.ImageSize().cx, 63);
}

TEST(EditorHistory, UndoAndRedoRestoreImageZoomAndScroll) {
    Editor e;
    e.NewImage(800, 600);
    e.view.ScrollTo(CPoint(120, 90));
    e.Select(10, 20, 59, 49);
    e.editor.Crop();
    EXPECT_EQ(e.ImageSize().cx, 50);
    EXPECT_EQ(PixelOf(e.imageBitmap, 0, 0), Named(10, 20));
    EXPECT_EQ(e.view.panes[0].substr(0, 6), "50x30,");
    EXPECT_EQ(e.view.panes[2], "No Selected Area.");
    EXPECT_FALSE(e.hasSelection);
    EXPECT_TRUE(e.history.CanUndo());

    e.editor.Undo();
    EXPECT_EQ(e.ImageSize().cx, 800);
    EXPECT_EQ(PixelOf(e.imageBitmap, 799, 599), Named(799, 599));
    EXPECT_EQ(e.view.scroll.x, 120);  // the scroll position before the crop
    EXPECT_EQ(e.view.scroll.y, 90);
    EXPECT_FALSE(e.history.CanUndo());
    EXPECT_TRUE(e.history.CanRedo());

    e.editor.Redo();
    EXPECT_EQ(e.ImageSize().cx, 50);
    EXPECT_EQ(PixelOf(e.imageBitmap, 49, 29), Named(59, 49));
    EXPECT_FALSE(e.history.CanRedo());
}

TEST(EditorHistory, ACropAfterUndoDropsTheRedoSideAndItsBitmaps) {
    Editor e;
    e.NewImage(100, 100);
    e.Select(0, 0, 49, 49);
    e.editor.Crop();
    e.Select(0, 0, 9, 9);
    e.editor.Crop();
    e.editor.Undo();
    e.editor.Undo();
    EXPECT_EQ(e.history.BitmapCount(), 3);
    e.Select(0, 0, 19, 19);
    e.editor.Crop();
    EXPECT_FALSE(e.history.CanRedo());
    EXPECT_EQ(e.history.BitmapCount(), 2);  // the two redo states are freed at once
}

TEST(EditorHistory, ZoomStepsRewriteTheCurrentStateButNotOnLanding) {
    Editor e;
    e.NewImage(250, 100);
    e.editor.ZoomDown();  // 90 %
    EXPECT_EQ(e.zoomPercent, 90);
    EXPECT_EQ(e.history.At(e.history.historyCurrent).zoomPercent, 90);
    for (int i = 0; i < 6; ++i) e.editor.ZoomDown();
    EXPECT_EQ(e.zoomPercent, 30);
    EXPECT_EQ(SizeOf(e.display.displayBitmap).cx, 75);
    EXPECT_EQ(SizeOf(e.display.displayBitmap).cy, 30);
    EXPECT_EQ(e.view.total.cx, 75);
    EXPECT_EQ(e.view.panes[1], "30%");
    const HistorySlot& slot = e.history.At(e.history.historyCurrent);
    EXPECT_EQ(slot.zoomPercent, 30);
    EXPECT_EQ(SizeOf(slot.display).cx, 75);

    for (int i = 0; i < 6; ++i) e.editor.ZoomUp();  // back at 90 %
    e.editor.ZoomUp();                              // lands on 100 %
    EXPECT_EQ(e.zoomPercent, 100);
    EXPECT_FALSE(e.display.displayBitmap);
    EXPECT_EQ(e.view.total.cx, 250);
    EXPECT_EQ(e.history.At(e.history.historyCurrent).zoomPercent, 90);  // left as it was
}

// The reduced copy a zoom step replaces is written over when the view steps back to its zoom,
// and no spare copy outlives the reduced view.
TEST(EditorHistory, AStepBackToTheZoomBeforeWritesIntoItsReducedCopy) {
    Editor e;
    e.NewImage(250, 100);
    e.editor.ZoomDown();  // 90 %
    e.editor.ZoomDown();  // 80 %
    const HGDIOBJ at80 = e.display.displayBitmap.GetSafeHandle();
    e.editor.ZoomDown();  // 70 %
    EXPECT_TRUE(e.display.scaler.HasSpare());
    e.editor.ZoomUp();  // 80 % again
    EXPECT_EQ(e.display.displayBitmap.GetSafeHandle(), at80);
    EXPECT_EQ(SizeOf(e.display.displayBitmap), CSize(200, 80));
    EXPECT_EQ(PixelOf(e.display.displayBitmap, 0, 0), Named(0, 0));
    e.editor.ZoomUp();  // 90 %
    e.editor.ZoomUp();  // lands on 100 %
    EXPECT_FALSE(e.display.scaler.HasSpare());
}

TEST(EditorHistory, AZoomStepAfterUndoLosesTheRedoTarget) {
    Editor e;
    e.NewImage(120, 80);
    e.Select(0, 0, 59, 39);
    e.editor.Crop();
    e.editor.Undo();
    e.editor.ZoomUp();  // 200 %: does not land on 100
    EXPECT_FALSE(e.history.CanRedo());
    EXPECT_EQ(e.view.total.cx, 240);
    e.editor.ZoomDown();  // lands on 100 %: nothing recorded, Redo stays lost
    EXPECT_FALSE(e.history.CanRedo());
}

TEST(EditorHistory, CropBelowActualSizeKeepsTheZoomAndUndoRestoresTheReducedView) {
    Editor e;
    e.NewImage(400, 300);
    for (int i = 0; i < 5; ++i) e.editor.ZoomDown();  // 50 %
    e.Select(100, 100, 299, 199);
    e.editor.Crop();
    EXPECT_EQ(e.zoomPercent, 50);
    EXPECT_EQ(SizeOf(e.display.displayBitmap).cx, 100);
    EXPECT_EQ(e.view.total.cx, 100);
    e.editor.Undo();
    EXPECT_EQ(e.zoomPercent, 50);
    EXPECT_EQ(SizeOf(e.display.displayBitmap).cx, 200);
    EXPECT_EQ(e.ImageSize().cx, 400);
}

TEST(EditorHistory, ResizeAndRotateResetTheZoomAndPushAState) {
    Editor e;
    e.NewImage(300, 200);
    e.editor.ZoomUp();
    e.Select(0, 0, 9, 9);
    e.editor.Rotate(270);  // the dialog's "90"
    EXPECT_EQ(e.zoomPercent, 100);
    EXPECT_FALSE(e.hasSelection);
    EXPECT_EQ(e.ImageSize().cx, 200);
    EXPECT_EQ(PixelOf(e.imageBitmap, 0, 299), Named(0, 0));
    EXPECT_EQ(e.view.panes[0].substr(0, 8), "200x300,");
    EXPECT_EQ(e.view.panes[1], "100%");
    e.editor.ZoomDown();
    e.editor.Resize(150, 100);
    EXPECT_EQ(e.zoomPercent, 100);
    EXPECT_FALSE(e.display.displayBitmap);
    EXPECT_EQ(e.ImageSize().cx, 150);
    EXPECT_EQ(e.view.total.cx, 150);
    e.editor.Undo();
    EXPECT_EQ(e.ImageSize().cx, 200);
    EXPECT_EQ(e.zoomPercent, 90);  // the rotated state as it was left, zoomed
    e.editor.Undo();
    EXPECT_EQ(e.ImageSize().cx, 300);
    EXPECT_EQ(e.zoomPercent, 200);
}

TEST(EditorHistory, AnEditWhoseBitmapCannotBeMadeChangesNothingAndSaysSo) {
    Editor e;
    e.NewImage(200, 150);
    e.editor.ZoomDown();  // 90 %, so that the reduced view is part of the state too
    e.view.ScrollTo(CPoint(5, 5));
    HGDIOBJ image = e.imageBitmap.GetSafeHandle(), reduced = e.display.displayBitmap.GetSafeHandle();
    const HistoryRing before = e.history;
    const int bitmaps = e.history.BitmapCount();
    const CSize total = e.view.total;

    e.Select(-30000, -30000, 29999, 29999);  // 60000 x 60000
    e.editor.Crop();
    e.editor.CopySelection();
    e.editor.Resize(60000, 60000);
    ASSERT_EQ(e.view.messages.size(), 3u);
    for (const std::string& m : e.view.messages) EXPECT_EQ(m.substr(0, 17), "Tessaly Capture: ");
    EXPECT_NE(e.view.messages[0].find("60000 x 60000"), std::string::npos) << e.view.messages[0];

    EXPECT_EQ(e.imageBitmap.GetSafeHandle(), image);
    EXPECT_EQ(e.display.displayBitmap.GetSafeHandle(), reduced);
    EXPECT_EQ(e.zoomPercent, 90);
    EXPECT_EQ(e.view.total.cx, total.cx);
    EXPECT_EQ(e.history.historyBase, before.historyBase);
    EXPECT_EQ(e.history.historyCurrent, before.historyCurrent);
    EXPECT_EQ(e.history.historyTop, before.historyTop);
    EXPECT_EQ(e.history.BitmapCount(), bitmaps);
    EXPECT_TRUE(e.hasSelection);
    EXPECT_FALSE(e.clipboardBitmap);
}

TEST(EditorHistory, ClearForgetsEverything) {
    Editor e;
    e.NewImage(64, 64);
    e.Select(0, 0, 9, 9);
    e.editor.Crop();
    e.editor.ZoomDown();
    e.editor.Clear();
    EXPECT_FALSE(e.hasImage);
    EXPECT_FALSE(e.imageBitmap);
    EXPECT_FALSE(e.display.displayBitmap);
    EXPECT_EQ(e.zoomPercent, 100);
    EXPECT_EQ(e.editMode, 0);
    EXPECT_EQ(e.history.BitmapCount(), 0);
    EXPECT_EQ(e.history.historyCurrent, -1);
    EXPECT_EQ(e.view.total.cx, 0);
    EXPECT_EQ(e.view.panes[0], "No Image.");
    EXPECT_EQ(e.view.panes[1], "");
    EXPECT_EQ(e.view.panes[2], "");
}

TEST(EditorHistory, APendingGrabBecomesTheImageAtTheNextPaintAtActualSize) {
    Editor e;
    CBitmap grab;
    grab.Attach(NamedBitmap(40, 30));
    e.pendingDib = DibBlock(BitmapToDib(grab, BI_RGB, nullptr));
    ASSERT_TRUE(e.pendingDib);
    e.hasImage = true;
    e.zoomPercent = 50;
    e.editor.AdoptPendingGrab();  // not at 100 %: it waits
    EXPECT_FALSE(e.imageBitmap);
    e.zoomPercent = 100;
    e.editor.AdoptPendingGrab();
    ASSERT_TRUE(e.imageBitmap);
    EXPECT_EQ(PixelOf(e.imageBitmap, 39, 29), Named(39, 29));
    EXPECT_FALSE(e.pendingDib);
    EXPECT_EQ(e.editMode, EditorState::kEditMove);
    EXPECT_EQ(e.view.total.cx, 40);
    EXPECT_EQ(e.history.historyCurrent, 0);
    EXPECT_EQ(e.view.panes[0].substr(0, 6), "40x30,");
}

TEST(EditorHistory, AGrabWaitingAwayFromActualSizeIsNeitherEditedNorReplacedBeforeItIsShown) {
    Editor e;
    e.NewImage(60, 40);
    e.Select(0, 0, 29, 19);
    e.editor.Crop();                                  // something to undo
    for (int i = 0; i < 5; ++i) e.editor.ZoomDown();  // 50 %: a reduced copy of the crop
    ASSERT_TRUE(e.display.displayBitmap);
    const HistoryRing before = e.history;

    // A direct grab arrives: the image waits as a DIB until the view paints at 100 %.
    CBitmap grab;
    grab.Attach(NamedBitmap(48, 36));
    e.pendingDib = DibBlock(BitmapToDib(grab, BI_RGB, nullptr));
    ASSERT_TRUE(e.pendingDib);
    e.imageBitmap.DeleteObject();
    e.Select(0, 0, 9, 9);
    EXPECT_EQ(e.display.Source(), nullptr);  // not the previous image's reduced copy

    // No edit reaches an image that is not there, and Undo does not bring the crop back over it.
    e.editor.Undo();
    e.editor.Crop();
    e.editor.CopySelection();
    e.editor.Copy();
    e.editor.Resize(20, 20);
    e.editor.Rotate(90);
    EXPECT_TRUE(e.view.messages.empty()) << e.view.messages.front();
    EXPECT_FALSE(e.imageBitmap);
    EXPECT_FALSE(e.clipboardBitmap);
    EXPECT_EQ(e.history.historyCurrent, before.historyCurrent);
    EXPECT_EQ(e.history.historyTop, before.historyTop);
    EXPECT_FALSE(e.editor.ImageReady());

    // Back at 100 % the grab is shown and starts its own history.
    for (int i = 0; i < 5; ++i) e.editor.ZoomUp();
    EXPECT_EQ(e.zoomPercent, 100);
    e.editor.AdoptPendingGrab();
    ASSERT_TRUE(e.imageBitmap);
    EXPECT_EQ(SizeOf(e.imageBitmap).cx, 48);
    EXPECT_EQ(PixelOf(e.imageBitmap, 47, 35), Named(47, 35));
    EXPECT_FALSE(e.hasSelection);
    EXPECT_EQ(e.history.historyCurrent, 0);
    EXPECT_EQ(e.display.Source(), static_cast<HBITMAP>(e.imageBitmap));
}

TEST(EditorHistory, APictureSmallerThanOnePixelAtTheZoomIsNoFailure) {
    Editor e;
    e.NewImage(8, 30);
    for (int i = 0; i < 9; ++i) e.editor.ZoomDown();  // 8 pixels wide at 10 % are none
    EXPECT_EQ(e.zoomPercent, 10);
    EXPECT_EQ(e.view.panes[1], "10%");
    EXPECT_EQ(e.view.total, CSize(0, 3));
    EXPECT_FALSE(e.display.displayBitmap);
    EXPECT_EQ(e.history.At(e.history.historyCurrent).zoomPercent, 10);
    e.editor.ZoomDown();  // stays at 10 %, rewriting the state all the same
    e.editor.ZoomUp();    // 20 %: one pixel wide again
    EXPECT_EQ(SizeOf(e.display.displayBitmap), CSize(1, 6));

    // A one-pixel crop at 50 % keeps 50 %, with nothing left to reduce.
    for (int i = 0; i < 3; ++i) e.editor.ZoomUp();
    EXPECT_EQ(e.zoomPercent, 50);
    e.Select(3, 3, 3, 3);
    e.editor.Crop();
    EXPECT_EQ(e.ImageSize(), CSize(1, 1));
    EXPECT_EQ(e.zoomPercent, 50);
    EXPECT_EQ(e.view.total, CSize(0, 0));
    EXPECT_TRUE(e.view.messages.empty()) << e.view.messages.front();
    e.editor.Undo();
    EXPECT_EQ(e.ImageSize(), CSize(8, 30));
    EXPECT_EQ(SizeOf(e.display.displayBitmap), CSize(4, 15));
}
