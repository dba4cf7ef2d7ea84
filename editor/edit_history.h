#pragma once
// The edit history: six states of the image in a ring (the indices are HistoryRing's). A state
// holds a copy of the image, below 100 % a copy of its reduced view, and the zoom and scroll state
// to go back to. Bitmaps of states that Undo and Redo can no longer reach are freed at once, so the
// ring never holds more than six states' worth of bitmaps.
#include <windows.h>

#include "editor/history_ring.h"
#include "framework/gdi.h"

struct HistorySlot {
    CBitmap image;
    CBitmap display;  // meaningful only while zoomPercent is below 100
    int scrollWidth = 0, scrollHeight = 0;
    int zoomPercent = 100;
    int scrollX = 0, scrollY = 0;
};

// The bitmaps of a state about to be recorded, made beforehand: recording itself cannot fail.
struct HistoryCopies {
    CBitmap image;
    CBitmap display;
    explicit operator bool() const { return static_cast<bool>(image); }
};

class EditHistory : public HistoryRing {
public:
    HistorySlot history[kSlots];

    // Copies of `image` and, below 100 %, of `display`, compatible with `window`; empty when either
    // cannot be made.
    static HistoryCopies Prepare(HBITMAP image, HBITMAP display, int zoom, HWND window);

    // StartHistory: forgets every state, then records `copies` as the only one.
    void Start(HistoryCopies copies, int zoom, CSize total, CPoint scroll);
    // PushHistory: records `copies` as the newest state after the current one.
    void Push(HistoryCopies copies, int zoom, CSize total, CPoint scroll);
    // A zoom step rewrites the current state: redo side dropped, zoom and scroll total size
    // replaced, and below 100 % its reduced copy (`display`); the scroll position stays.
    void RewriteZoom(int zoom, CSize total, CBitmap display);
    // Keeps the present scroll position in the current state, so that Undo returns to it.
    void StoreScroll(CPoint scroll);

    // The state at an index (Undo's target is historyCurrent - 1, Redo's historyCurrent + 1).
    const HistorySlot& At(int index) const { return history[SlotOf(index)]; }

    // Clear: every bitmap deleted, the indices back to -1.
    void Clear();
    // Bitmaps that are held, image and display copies together (for tests and checks).
    int BitmapCount() const;

private:
    void Record(int slot, HistoryCopies copies, int zoom, CSize total, CPoint scroll);
    void FreeUnreachable();
};
