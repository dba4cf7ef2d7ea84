#include "editor/mouse_tools.h"

#include <cstdio>

#include "editor/editor_cursors.h"

void MouseTools::ChooseTool(int mode) {
    state.editMode = mode;
    state.hasSelection = false;
    Invalidate();
}

OutlineGeometry::Rect MouseTools::Frame() const {
    CPoint topLeft = display.ImageToClient(CPoint(selection.left, selection.top));
    CPoint pastEnd = display.ImageToClient(CPoint(selection.right + 1, selection.bottom + 1));
    return {topLeft.x, topLeft.y, pastEnd.x, pastEnd.y};
}

void MouseTools::Invalidate() { ::InvalidateRect(host.EditorWindow(), nullptr, FALSE); }

void MouseTools::Choose(HCURSOR cursor) {
    currentCursor = cursor;
    // While the mouse is captured no WM_SETCURSOR comes: show the choice at once.
    if (cursor) ::SetCursor(cursor);
}

void MouseTools::ShowSelectionSize() {
    char text[64];
    std::snprintf(text, sizeof text, "The selected Area Size:%dx%d", selection.Width(), selection.Height());
    host.SetStatusPane(2, text);
}

void MouseTools::StartRectangle(CPoint pt) {
    CPoint p = display.ClientToImage(pt);
    selection = SelectionRules::StartAt({p.x, p.y}, dragAnchor);
    dragKind = SelectionRules::kNewRectangle;
    state.hasSelection = true;
    ShowSelectionSize();
    Choose(EditorCursors::SelectCross());
    Invalidate();
}

void MouseTools::OnLButtonDown(CPoint pt) {
    ::SetCapture(host.EditorWindow());
    buttonDown = true;
    if (state.editMode == EditorState::kEditMove) {
        lastMousePoint = pt;
        Choose(EditorCursors::ClosedHand());
    } else if (state.editMode == EditorState::kEditSelect) {
        if (!state.hasSelection) {
            StartRectangle(pt);
            return;
        }
        int code = selectionOutline.HitTest(Frame(), pt);
        if (code == OutlineGeometry::kOutside) {
            StartRectangle(pt);
            return;
        }
        dragKind = code;
        if (code == OutlineGeometry::kInside) {
            CPoint p = display.ClientToImage(pt);
            dragAnchor = {p.x, p.y};
        }
        Choose(EditorCursors::ForHitCode(code));
    }
}

void MouseTools::OnMouseMove(CPoint pt) {
    if (state.editMode == EditorState::kEditMove) {
        if (!buttonDown) {
            Choose(EditorCursors::OpenHand());
            return;
        }
        Choose(EditorCursors::ClosedHand());
        // The image follows the hand, along the axes on which it does not fit the window.
        CPoint position = host.ScrollPosition();
        CSize total = host.ScrollTotal();
        CRect client;
        ::GetClientRect(host.EditorWindow(), &client);
        if (total.cx > client.Width()) position.x += lastMousePoint.x - pt.x;
        if (total.cy > client.Height()) position.y += lastMousePoint.y - pt.y;
        host.ScrollTo(position);
        lastMousePoint = pt;
    } else if (state.editMode == EditorState::kEditSelect) {
        if (!buttonDown) {
            Choose(state.hasSelection ? EditorCursors::ForHitCode(selectionOutline.HitTest(Frame(), pt))
                                      : EditorCursors::SelectCross());
            return;
        }
        if (!state.hasSelection) return;  // the selection went while the button was down
        CPoint p = display.ClientToImage(pt);
        SelectionRules::Drag(selection, dragKind, {p.x, p.y}, dragAnchor);
        ShowSelectionSize();
        Invalidate();
    }
}

void MouseTools::OnLButtonUp() {
    buttonDown = false;
    if (::GetCapture() == host.EditorWindow()) ::ReleaseCapture();
}

bool MouseTools::OnSetCursor(UINT hitTest) {
    if (state.editMode == EditorState::kEditNone || hitTest != HTCLIENT || !currentCursor) return false;
    ::SetCursor(currentCursor);
    return true;
}

void MouseTools::DrawOutline() {
    HWND window = host.EditorWindow();
    CRect client;
    ::GetClientRect(window, &client);
    CClientDC dc(window);
    selectionOutline.Draw(dc, Frame(), {0, 0, client.right, client.bottom});
}
