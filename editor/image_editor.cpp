#include "editor/image_editor.h"

#include <cstdio>

#include "app/message_caption.h"
#include "capture/clipboard_copy.h"
#include "editor/bitmap_ops.h"
#include "editor/rotate_bitmap.h"
#include "editor/zoom_steps.h"

namespace {

// Pane 0: "%dx%d,%d bits" of the image, "No Image." without one.
void ShowImagePane(EditorHost& host, HBITMAP image) {
    BITMAP bm{};
    char text[64] = "No Image.";
    if (image && ::GetObjectA(image, sizeof bm, &bm))
        std::snprintf(text, sizeof text, "%dx%d,%d bits", static_cast<int>(bm.bmWidth),
                      static_cast<int>(bm.bmHeight), bm.bmPlanes * bm.bmBitsPixel);
    host.SetStatusPane(0, text);
}

}  // namespace

void ImageEditor::Invalidate(bool erase) { ::InvalidateRect(host.EditorWindow(), nullptr, erase); }

void ImageEditor::ReportNoMemory(int width, int height) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "There is not enough memory for a %d x %d bitmap.\nThe image has not been changed.", width,
                  height);
    host.ShowMessage(text, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
}

void ImageEditor::ShowImageStatus() {
    ShowImagePane(host, state.imageBitmap);
    ShowZoom();
    host.SetStatusPane(2, "No Selected Area.");
}

void ImageEditor::ShowZoom() {
    char text[16];
    std::snprintf(text, sizeof text, "%d%%", state.zoomPercent);
    host.SetStatusPane(1, text);
}

void ImageEditor::StartHistory() {
    HWND window = host.EditorWindow();
    // A new image arrives at 100 %: a reduced copy of the last one is of no use any more.
    if (state.zoomPercent >= 100) display.displayBitmap.DeleteObject();
    // A copy that cannot be made leaves an empty history: the image stays, with nothing to undo.
    history.Start(EditHistory::Prepare(state.imageBitmap, display.displayBitmap, state.zoomPercent, window),
                  state.zoomPercent, host.ScrollTotal(), host.ScrollPosition());
}

void ImageEditor::AdoptPendingGrab() {
    if (!state.hasImage || state.zoomPercent != 100 || state.imageBitmap || !state.pendingDib) return;
    HBITMAP grab = DibToBitmap(state.pendingDib.Get(), host.EditorWindow());
    if (!grab) return;  // kept as a DIB: saving still finds it, and the next paint tries again
    state.imageBitmap.Attach(grab);
    state.pendingDib.Free();
    state.editMode = EditorState::kEditMove;
    state.hasSelection = false;
    host.SetScrollTotal(BitmapOps::SizeOf(state.imageBitmap));
    StartHistory();
    ShowImageStatus();
}

// ---- zoom ---------------------------------------------------------------------------------------

void ImageEditor::ZoomUp() {
    ZoomSteps::Step step = ZoomSteps::Up(state.zoomPercent);
    ApplyZoom(step.zoom, static_cast<int>(step.action));
}

void ImageEditor::ZoomDown() {
    ZoomSteps::Step step = ZoomSteps::Down(state.zoomPercent);
    ApplyZoom(step.zoom, static_cast<int>(step.action));
}

void ImageEditor::ApplyZoom(int zoom, int actionCode) {
    using ZoomSteps::Action;
    const Action action = static_cast<Action>(actionCode);
    if (action == Action::kNothing) return;
    HWND window = host.EditorWindow();
    CSize imageSize = BitmapOps::SizeOf(state.imageBitmap);

    if (action == Action::kLandOnActual) {
        state.zoomPercent = zoom;
        display.DropReduced();
        host.SetScrollTotal(imageSize);
        ShowZoom();
        Invalidate();
        return;
    }
    if (!state.imageBitmap) {
        // A direct grab still waits for 100 % to be shown: only the zoom moves.
        state.zoomPercent = zoom;
        display.displayBitmap.DeleteObject();
        host.SetScrollTotal(CSize());
        ShowZoom();
        Invalidate();
        return;
    }

    // Everything that must be made, first.
    CBitmap reduced;
    if (action == Action::kRebuildReduced) {
        reduced = display.MakeReduced(state.imageBitmap, zoom);
        CSize size = ImageDisplay::Zoomed(imageSize, zoom);
        if (!reduced && !ImageDisplay::Vanishes(size)) {
            ReportNoMemory(size.cx, size.cy);
            return;
        }
    }
    HBITMAP shown = action == Action::kRebuildReduced ? static_cast<HBITMAP>(reduced)
                                                       : static_cast<HBITMAP>(display.displayBitmap);
    CBitmap stateCopy;
    if (zoom < 100 && !history.Empty()) {
        stateCopy = BitmapOps::CopyOf(shown, window);
        if (!stateCopy && shown) {
            CSize size = BitmapOps::SizeOf(shown);
            ReportNoMemory(size.cx, size.cy);
            return;
        }
    }

    state.zoomPercent = zoom;
    CSize total = ImageDisplay::Zoomed(imageSize, zoom);
    if (action == Action::kRebuildReduced) {
        display.ShowReduced(std::move(reduced));
    } else if (action == Action::kStretch) {
        display.displayBitmap.DeleteObject();
    } else {
        total = host.ScrollTotal();  // stays at 10 %: the reduced copy as it is
    }
    host.SetScrollTotal(total);
    Invalidate();
    history.RewriteZoom(zoom, total, std::move(stateCopy));
    ShowZoom();
}

// ---- history ------------------------------------------------------------------------------------

void ImageEditor::Undo() { Restore(history.historyCurrent - 1); }
void ImageEditor::Redo() { Restore(history.historyCurrent + 1); }

void ImageEditor::Restore(int index) {
    if (!ImageReady()) return;
    if (index <= history.historyBase || index > history.historyTop) return;
    HWND window = host.EditorWindow();
    const HistorySlot& slot = history.At(index);
    CBitmap image = BitmapOps::CopyOf(slot.image, window);
    CBitmap reduced;
    if (image && slot.zoomPercent < 100 && slot.display) reduced = BitmapOps::CopyOf(slot.display, window);
    if (!image || (slot.zoomPercent < 100 && slot.display && !reduced)) {
        CSize size = BitmapOps::SizeOf(image ? static_cast<HBITMAP>(slot.display) : static_cast<HBITMAP>(slot.image));
        ReportNoMemory(size.cx, size.cy);
        return;
    }

    state.hasSelection = false;
    state.hasImage = false;  // a paint set off meanwhile draws nothing
    if (index < history.historyCurrent) history.HistoryRing::Undo();
    else history.HistoryRing::Redo();
    state.zoomPercent = slot.zoomPercent;
    host.SetScrollTotal(CSize(slot.scrollWidth, slot.scrollHeight));
    host.ScrollTo(CPoint(slot.scrollX, slot.scrollY));
    state.imageBitmap = std::move(image);
    display.displayBitmap = std::move(reduced);
    ShowImageStatus();
    state.hasImage = true;
    Invalidate();
}

void ImageEditor::CommitEdit(CBitmap image, CBitmap reduced, HistoryCopies copies, CSize total) {
    // The scroll position of the state left behind, so that Undo returns to it.
    history.StoreScroll(host.ScrollPosition());
    state.imageBitmap = std::move(image);
    display.displayBitmap = std::move(reduced);
    host.SetScrollTotal(total);
    history.Push(std::move(copies), state.zoomPercent, total, host.ScrollPosition());
    state.hasSelection = false;
    Invalidate();
}

bool ImageEditor::RecordDrawing() {
    HWND window = host.EditorWindow();
    const int zoom = state.zoomPercent;
    const CSize size = BitmapOps::SizeOf(state.imageBitmap);
    CBitmap reduced;
    if (zoom < 100) {
        const CSize drawn = ImageDisplay::Zoomed(size, zoom);
        reduced = display.MakeReduced(state.imageBitmap, zoom);
        if (!reduced && !ImageDisplay::Vanishes(drawn)) {
            ReportNoMemory(drawn.cx, drawn.cy);
            return false;
        }
    }
    HistoryCopies copies = EditHistory::Prepare(state.imageBitmap, reduced, zoom, window);
    if (!copies) {
        ReportNoMemory(size.cx, size.cy);
        return false;
    }
    history.StoreScroll(host.ScrollPosition());
    history.Push(std::move(copies), zoom, host.ScrollTotal(), host.ScrollPosition());
    // At 100 % and above the window already shows the drawn pixels.
    if (zoom < 100) {
        display.ShowReduced(std::move(reduced));
        Invalidate();
    }
    return true;
}

// ---- crop, resize, rotate ---------------------------------------------------------------------

void ImageEditor::Crop() {
    if (!ImageReady()) return;
    HWND window = host.EditorWindow();
    const SelectionRules::Selection& area = tools.selection;
    const int zoom = state.zoomPercent;
    CBitmap cropped = BitmapOps::CopyArea(state.imageBitmap, window, area);
    if (!cropped) return ReportNoMemory(area.Width(), area.Height());
    CBitmap reduced;
    const CSize total = ImageDisplay::Zoomed(BitmapOps::SizeOf(cropped), zoom);
    if (zoom < 100) {
        reduced = display.MakeReduced(cropped, zoom);
        if (!reduced && !ImageDisplay::Vanishes(total)) return ReportNoMemory(total.cx, total.cy);
    }
    HistoryCopies copies = EditHistory::Prepare(cropped, reduced, zoom, window);
    if (!copies) return ReportNoMemory(area.Width(), area.Height());

    // The zoom stays; below 100 % the reduced copy of the cropped image is shown.
    CommitEdit(std::move(cropped), std::move(reduced), std::move(copies), total);
    ShowImagePane(host, state.imageBitmap);
    host.SetStatusPane(2, "No Selected Area.");
}

void ImageEditor::Resize(int width, int height) {
    if (!ImageReady()) return;
    HWND window = host.EditorWindow();
    CBitmap resized = display.scaler.Scale(state.imageBitmap, window, width, height);
    if (!resized) return ReportNoMemory(width, height);
    HistoryCopies copies = EditHistory::Prepare(resized, nullptr, 100, window);
    if (!copies) return ReportNoMemory(width, height);
    state.zoomPercent = 100;
    CommitEdit(std::move(resized), CBitmap(), std::move(copies), CSize(width, height));
    ShowImageStatus();
}

void ImageEditor::Rotate(int code) {
    if (!ImageReady()) return;
    HWND window = host.EditorWindow();
    CSize size = BitmapOps::SizeOf(state.imageBitmap);
    CBitmap turned;
    turned.Attach(RotateBitmap(state.imageBitmap, code));
    if (!turned) return ReportNoMemory(size.cy, size.cx);
    // The turned bitmap has the old image's format; one compatible with the window is needed.
    if (!BitmapOps::IsCompatibleWith(turned, window)) {
        CBitmap compatible = BitmapOps::CopyOf(turned, window);
        if (!compatible) return ReportNoMemory(size.cy, size.cx);
        turned = std::move(compatible);
    }
    HistoryCopies copies = EditHistory::Prepare(turned, nullptr, 100, window);
    if (!copies) return ReportNoMemory(size.cy, size.cx);
    CSize turnedSize = BitmapOps::SizeOf(turned);
    state.zoomPercent = 100;
    CommitEdit(std::move(turned), CBitmap(), std::move(copies), turnedSize);
    ShowImageStatus();
}

// ---- clipboard and clear ----------------------------------------------------------------------

void ImageEditor::Copy() {
    if (!ImageReady()) return;
    CBitmap copy = BitmapOps::CopyOf(state.imageBitmap, host.EditorWindow());
    if (!copy) {
        CSize size = BitmapOps::SizeOf(state.imageBitmap);
        return ReportNoMemory(size.cx, size.cy);
    }
    PlaceOnClipboard(std::move(copy));
}

void ImageEditor::CopySelection() {
    if (!ImageReady()) return;
    const SelectionRules::Selection& area = tools.selection;
    CBitmap copy = BitmapOps::CopyArea(state.imageBitmap, host.EditorWindow(), area);
    if (!copy) return ReportNoMemory(area.Width(), area.Height());
    PlaceOnClipboard(std::move(copy));
}

void ImageEditor::PlaceOnClipboard(CBitmap copy) {
    state.clipboardBitmap = std::move(copy);
    ::PlaceOnClipboard(host.EditorWindow(), state.clipboardBitmap);  // busy: nothing is placed, nothing is said
}

void ImageEditor::Clear() {
    state.hasImage = false;
    state.editMode = EditorState::kEditNone;
    state.imageBitmap.DeleteObject();
    display.DropReduced();
    display.FreeBackBuffer();
    state.pendingDib.Free();  // a grab not yet shown goes with the image
    state.zoomPercent = 100;
    state.hasSelection = false;
    host.SetScrollTotal(CSize());
    history.Clear();
    host.SetStatusPane(0, "No Image.");
    host.SetStatusPane(1, "");
    host.SetStatusPane(2, "");
    Invalidate(true);
}
