#pragma once
// What the editor's objects need of the window that shows the image (the view): the window itself,
// its scroll state and the status bar. Nothing else of the view is reachable from them.
#include <windows.h>

#include "framework/types.h"

class EditorHost {
public:
    virtual HWND EditorWindow() const = 0;
    // The scroll total size is the size of the image as drawn; the position is the window-pixel
    // offset of the visible part, kept within the scroll range by ScrollTo.
    virtual CSize ScrollTotal() const = 0;
    virtual void SetScrollTotal(CSize total) = 0;
    virtual CPoint ScrollPosition() const = 0;
    virtual void ScrollTo(CPoint position) = 0;
    // Status-bar panes 0 (image), 1 (zoom) and 2 (selection).
    virtual void SetStatusPane(int pane, const char* text) = 0;
    // A message box owned by the program's window.
    virtual void ShowMessage(const char* text, const char* caption, UINT type) = 0;

protected:
    ~EditorHost() = default;
};
