#pragma once
// The two mouse tools of the editor. Move pans the image with the left button; Select draws,
// resizes and moves one rectangular selection, shown as an animated frame with eight handles.
// Points pass through the display's mapping, so the tools work at every zoom.
#include <windows.h>

#include "editor/editor_host.h"
#include "editor/editor_state.h"
#include "editor/image_display.h"
#include "editor/selection_outline.h"
#include "editor/selection_rules.h"

class MouseTools {
public:
    MouseTools(EditorHost& host, EditorState& state, const ImageDisplay& display)
        : host(host), state(state), display(display) {}

    SelectionRules::Selection selection;     // image pixels, edges inclusive
    int dragKind = 10;                       // hit code the current drag changes
    SelectionRules::Point dragAnchor;        // image pixels: fixed corner, or last point of a move
    bool buttonDown = false;                 // left button pressed in the view, not yet released
    CPoint lastMousePoint;                   // client pixels: previous point of a pan
    HCURSOR currentCursor = nullptr;         // chosen by the mouse handlers; none until then
    SelectionOutline selectionOutline;

    // Commands Move (1) and Select (2): the tool changes and any selection goes.
    void ChooseTool(int mode);

    void OnLButtonDown(CPoint pt);
    void OnMouseMove(CPoint pt);
    void OnLButtonUp();
    // The button's release went to another window, or the capture was taken away: the drag ends.
    void OnCaptureLost() { buttonDown = false; }
    // WM_SETCURSOR: true when the tool's cursor was shown.
    bool OnSetCursor(UINT hitTest);

    // The frame and handles straight onto the window (paint and animation timer); moves the dashes.
    void DrawOutline();

private:
    // (a, b, c, d): the client points of (left, top) and (right + 1, bottom + 1).
    OutlineGeometry::Rect Frame() const;
    void StartRectangle(CPoint pt);
    void ShowSelectionSize();
    void Choose(HCURSOR cursor);
    void Invalidate();

    EditorHost& host;
    EditorState& state;
    const ImageDisplay& display;
};
