#pragma once
// The edit commands of the view: zoom steps, Undo and Redo, Crop, Resize, Rotate, Copy, Copy
// Selected Area, Clear, and the start of a new history for each new image.
//
// Every command that makes bitmaps makes all of them before it changes anything. When one cannot
// be made (a 32-bit process runs out of address space, or GDI out of memory) the image, the zoom and
// the history stay exactly as they were and a message box says so.
#include <windows.h>

#include "editor/edit_history.h"
#include "editor/editor_host.h"
#include "editor/editor_state.h"
#include "editor/image_display.h"
#include "editor/mouse_tools.h"

class ImageEditor {
public:
    ImageEditor(EditorHost& host, EditorState& state, ImageDisplay& display, EditHistory& history,
                MouseTools& tools)
        : host(host), state(state), display(display), history(history), tools(tools) {}

    // Panes 0 to 2: "%dx%d,%d bits" of the image, "%d%%" of the zoom, "No Selected Area.".
    void ShowImageStatus();
    // A new image: forgets the history and records the image as its only state.
    void StartHistory();
    // A direct grab waiting as a packed DIB becomes the image, at 100 % only (paint, step 1).
    void AdoptPendingGrab();

    // False while a direct grab waits to be shown at 100 % (the image is still empty): until then
    // Undo, Redo, Crop, Resize, Rotate and both copies do nothing, rather than edit an image that
    // is not there or bring back an older one in its place.
    bool ImageReady() const { return static_cast<bool>(state.imageBitmap); }

    void ZoomUp();    // command "Zoom out": larger
    void ZoomDown();  // command "Zoom in": smaller
    void Undo();
    void Redo();
    void Crop();
    // The transforms once their dialogs said OK.
    void Resize(int width, int height);
    void Rotate(int code);
    void Copy();
    void CopySelection();
    void Clear();

    // The image was drawn on in place (a drawing tool's mark): records it as the newest state,
    // below 100 % with a new reduced copy. False, after a message, when the copies cannot be made;
    // the caller then puts the earlier pixels back.
    bool RecordDrawing();

    // Tells the user that a bitmap of width x height could not be made and nothing changed.
    void ReportNoMemory(int width, int height);

private:
    void ApplyZoom(int zoom, int action);
    void ShowZoom();
    void Restore(int index);
    // The new image replaces the old one, is recorded as the newest state with the bitmaps made
    // for it, and the selection goes; `display` is its reduced copy below 100 %.
    void CommitEdit(CBitmap image, CBitmap display, HistoryCopies copies, CSize total);
    void PlaceOnClipboard(CBitmap copy);
    void Invalidate(bool erase = false);

    EditorHost& host;
    EditorState& state;
    ImageDisplay& display;
    EditHistory& history;
    MouseTools& tools;
};
