#pragma once
// The view's image state that the editor's objects share. The members live in the view under their
// own names (the capture pipeline and the saving use them too); this bundles references to them.
#include <windows.h>

#include <cstdint>

#include "capture/dib_conversions.h"
#include "framework/gdi.h"

struct EditorState {
    // The mouse tools (editMode); the drawing tools say which of them is in use.
    static constexpr int kEditNone = 0, kEditMove = 1, kEditSelect = 2, kEditAnnotate = 3;

    bool& hasImage;            // an image is shown; painting and the image commands need it
    CBitmap& imageBitmap;      // the image, compatible with the window (empty while a grab is pending)
    int& zoomPercent;          // 10..90, 100, 200..600
    int& editMode;             // 0 none, 1 Move, 2 Select, 3 a drawing tool
    bool& hasSelection;        // a selection exists
    DibBlock& pendingDib;      // a direct grab not yet turned into imageBitmap
    CBitmap& clipboardBitmap;  // the last bitmap handed to the clipboard
    uint32_t& backgroundColor; // 0x00BBGGRR, around and behind the image (a setting)
};
