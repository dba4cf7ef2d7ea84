#pragma once
// The drawing tools on the view: pen, arrow, rectangle, highlighter, text and pixelate. A mark is
// drawn straight onto the image's pixels while the mouse drags (each move redraws only the pixels
// it changes, from the unmarked image), and becomes one step of the edit history when it ends.
// Ending it any other way (a command, a new image) never leaves half a step behind.
#include <windows.h>

#include "editor/annotate/annotate_options.h"
#include "editor/annotate/mark.h"
#include "editor/annotate/text_label.h"
#include "editor/edit_history.h"
#include "editor/editor_host.h"
#include "editor/editor_state.h"
#include "editor/image_display.h"
#include "editor/image_editor.h"

class CWnd;

class AnnotateTools {
public:
    AnnotateTools(EditorHost& host, EditorState& state, ImageDisplay& display, EditHistory& history,
                  ImageEditor& editor);

    // The tool's letter key (P, A, R, H, T, X), or -1.
    static int ToolForKey(UINT virtualKey);

    bool IsActive(Mark::Kind kind) const { return state.editMode == EditorState::kEditAnnotate && tool == kind; }
    void ChooseTool(Mark::Kind kind);

    const AnnotateOptions& Options() const { return options; }
    // The colour dialog, opening on the colour in use; the choice is stored at once.
    void ChooseColour(CWnd* owner);
    void SetWidth(int width);

    void OnLButtonDown(CPoint client, bool shift);
    void OnMouseMove(CPoint client, bool shift);
    void OnLButtonUp(CPoint client, bool shift);
    // The mouse capture went elsewhere mid-drag: the mark ends as drawn so far.
    void OnCaptureLost();
    bool OnSetCursor(UINT hitTest);

    // A label is being typed: its keys go to it, not to the frame's accelerators.
    bool Typing() const { return typing; }
    void OnKeyDown(UINT virtualKey);
    void OnChar(char c);

    // Any mark in progress is finished and recorded (before another command acts on the image).
    void Finish();
    // A new image replaced the one drawn on: the mark in progress is dropped.
    void Abandon();

private:
    // The unmarked image the drawing starts from; false (and a message) when none can be had.
    bool TakeBefore();
    HBITMAP Before() const;
    // The area's pixels from the unmarked image, with the mark (or label) drawn over them, into the
    // image and onto the window.
    void Redraw(MarkGeometry::Box area, bool caret = true);
    void Restore(MarkGeometry::Box area);
    void Show(MarkGeometry::Box area);
    MarkGeometry::Box ImageBox() const;
    MarkGeometry::PointF ImagePoint(CPoint client) const;
    void Record();
    void EndLabel();

    EditorHost& host;
    EditorState& state;
    ImageDisplay& display;
    EditHistory& history;
    ImageEditor& editor;

    AnnotateOptions options;
    Mark::Kind tool = Mark::kPen;
    Mark mark;
    bool drawing = false;         // a mark follows the mouse
    bool typing = false;          // a label takes the keys
    TextLabel label;
    POINT labelOrigin{};
    MarkGeometry::Box drawn;      // the pixels the mark has changed so far
    CBitmap ownBefore;            // the unmarked image when the history holds no copy of it
    uint32_t marksMade = 0;       // varies the pixelate noise from mark to mark
};
