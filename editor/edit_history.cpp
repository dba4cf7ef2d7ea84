#include "editor/edit_history.h"

#include "editor/bitmap_ops.h"

HistoryCopies EditHistory::Prepare(HBITMAP image, HBITMAP display, int zoom, HWND window) {
    HistoryCopies copies;
    copies.image = BitmapOps::CopyOf(image, window);
    if (!copies.image) return copies;
    if (zoom < 100) {
        copies.display = BitmapOps::CopyOf(display, window);
        if (!copies.display && display) copies.image.DeleteObject();
    }
    return copies;
}

void EditHistory::Start(HistoryCopies copies, int zoom, CSize total, CPoint scroll) {
    Reset();
    if (copies) Record(HistoryRing::Push(), std::move(copies), zoom, total, scroll);
    FreeUnreachable();
}

void EditHistory::Push(HistoryCopies copies, int zoom, CSize total, CPoint scroll) {
    if (!copies) return;
    Record(HistoryRing::Push(), std::move(copies), zoom, total, scroll);
    FreeUnreachable();
}

void EditHistory::Record(int slot, HistoryCopies copies, int zoom, CSize total, CPoint scroll) {
    HistorySlot& s = history[slot];
    s.image = std::move(copies.image);
    s.display = std::move(copies.display);  // none at 100 % and above
    s.scrollWidth = total.cx;
    s.scrollHeight = total.cy;
    s.zoomPercent = zoom;
    s.scrollX = scroll.x;
    s.scrollY = scroll.y;
}

void EditHistory::RewriteZoom(int zoom, CSize total, CBitmap display) {
    if (Empty()) return;
    DropRedo();
    HistorySlot& s = history[CurrentSlot()];
    s.zoomPercent = zoom;
    s.scrollWidth = total.cx;
    s.scrollHeight = total.cy;
    s.display = std::move(display);
    FreeUnreachable();
}

void EditHistory::StoreScroll(CPoint scroll) {
    if (Empty()) return;
    HistorySlot& s = history[CurrentSlot()];
    s.scrollX = scroll.x;
    s.scrollY = scroll.y;
}

void EditHistory::Clear() {
    for (HistorySlot& s : history) {
        s.image.DeleteObject();
        s.display.DeleteObject();
    }
    Reset();
}

int EditHistory::BitmapCount() const {
    int count = 0;
    for (const HistorySlot& s : history) count += (s.image ? 1 : 0) + (s.display ? 1 : 0);
    return count;
}

void EditHistory::FreeUnreachable() {
    for (int slot = 0; slot < kSlots; ++slot) {
        HistorySlot& s = history[slot];
        if (!SlotInUse(slot)) {
            s.image.DeleteObject();
            s.display.DeleteObject();
        } else if (s.zoomPercent >= 100) {
            s.display.DeleteObject();  // a reduced copy is only read below 100 %
        }
    }
}
