#pragma once
// The central view: holds the settings, the current image and all capture state for the whole run.
#include <string>

#include "app/capture_settings.h"
#include "capture/capture_controller.h"
#include "capture/delayed_capture.h"
#include "capture/dib_conversions.h"
#include "dialogs/configure_command.h"
#include "editor/annotate/annotate_tools.h"
#include "editor/edit_history.h"
#include "editor/editor_host.h"
#include "editor/editor_state.h"
#include "editor/image_display.h"
#include "editor/image_editor.h"
#include "editor/mouse_tools.h"
#include "framework/framework.h"
#include "imagefile/image_opener.h"
#include "imagefile/image_saver.h"

class CMainFrame;

class CKelvane101View : public CScrollView, public EditorHost {
    DECLARE_DYNCREATE(CKelvane101View)
public:
    static constexpr int kCaptureHotKeyId = 0xBCBC;
    static constexpr UINT_PTR kAnimationTimer = 1;

    CKelvane101View();
    ~CKelvane101View() override;

    // The mouse tools of the editor.
    enum EditMode { kEditNone = 0, kEditMove = 1, kEditSelect = 2 };

    CaptureSettings settings;
    std::string tempBitmapPath;  // the folder where each JPEG save puts its own short-lived BMP
    int zoomPercent = 100;
    bool hasImage = false;
    bool configureSheetOpen = false;
    int editMode = kEditNone;
    bool hasSelection = false;
    CBitmap imageBitmap;      // the current image, compatible with the screen; the agents fill it
    CBitmap clipboardBitmap;  // hands copies of the image to the clipboard, which then owns them
    CPalette palette;         // the system palette, on palette displays
    DibBlock pendingDib;      // the last direct grab, until the view paints it
    CaptureController capture{*this};
    DelayedCapture delayedCapture{*this};  // every capture request goes through it
    ImageSaver saver{*this};
    ConfigureCommand configure{*this, settings, configureSheetOpen, kCaptureHotKeyId};

    // The image editor: display and zoom (displayBitmap, scaleDib, drawDibHandle), the edit history
    // (historyBase, historyCurrent, historyTop), the mouse tools (selection, dragKind, dragAnchor,
    // buttonDown, lastMousePoint, currentCursor, selectionOutline) and the edit commands.
    EditorState editorState{hasImage, imageBitmap, zoomPercent, editMode, hasSelection,
                            pendingDib, clipboardBitmap, settings.backgroundColor};
    ImageDisplay display{*this, editorState};
    EditHistory history;
    MouseTools mouse{*this, editorState, display};
    ImageEditor editor{*this, editorState, display, history, mouse};
    AnnotateTools annotate{*this, editorState, display, history, editor};

    // Writes the autostart value and configure.dat as the settings say (at exit and at log-off).
    // A configure.dat that cannot be written is reported with a chance to retry, unless the
    // session is ending and no one may be asked.
    void StoreSettings(bool askOnFailure = true);
    CMainFrame* MainFrame() const;
    void OnInitialUpdate() override;

    // The save step of the pipeline.
    void SaveAfterCapture();
    // The automatic save of a direct grab's pendingDib.
    void AutoSaveDib();
    // A saved file's row in the history list.
    void AddHistoryEntry(const std::string& name, const std::string& path);

    // The editor's operations other parts call.
    void StartHistory() {
        annotate.Abandon();
        editor.StartHistory();
    }
    void ShowImageStatus() { editor.ShowImageStatus(); }
    CPoint ClientToImage(CPoint point) const { return display.ClientToImage(point); }
    CPoint ImageToClient(CPoint point) const { return display.ImageToClient(point); }
    void PaintImage();
    void OnDraw(CDC* dc) override;

    // EditorHost: what the editor's objects need of the view.
    HWND EditorWindow() const override { return m_hWnd; }
    CSize ScrollTotal() const override { return GetTotalSize(); }
    void SetScrollTotal(CSize total) override { SetScrollSizes(MM_TEXT, total); }
    CPoint ScrollPosition() const override { return GetScrollPosition(); }
    void ScrollTo(CPoint position) override { ScrollToPosition(position); }
    void SetStatusPane(int pane, const char* text) override;
    void ShowMessage(const char* text, const char* caption, UINT type) override;
    // A command ends the mark or label in progress first, so it acts on a finished image.
    bool OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) override;
    // While a label is typed its keys (Enter, Del) reach the view, not the frame's accelerators.
    bool PreTranslateMessage(MSG* msg) override;

    // Opening image files (File > Open, and the rows of the history list).
    ImageOpener opener{*this};
    void OpenFromHistory(const std::string& path, bool fromHistoryList = true);

protected:
    void LoadSettings();
    void RegisterCaptureHotKey();
    void CapturePalette();

    afx_msg BOOL OnEraseBkgnd(HDC dc);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnHotKey(UINT id, UINT modifiers, UINT key);
    afx_msg LRESULT OnCaptureDone(WPARAM result, LPARAM);
    afx_msg void OnCaptureDefault();
    afx_msg void OnCaptureMode(UINT id);
    afx_msg void OnCaptureDirectXNote();
    afx_msg void OnCaptureMonitor();
    afx_msg void OnCaptureDelay(UINT id);
    afx_msg void OnUpdateCaptureDelay(CCmdUI* ui);
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();
    afx_msg void OnUpdateNeedsImage(CCmdUI* ui);
    afx_msg void OnSettingCaptureConfigure() { configure.Run(); }

    // The editor's mouse, cursor and commands.
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg LRESULT OnCaptureChanged(WPARAM, LPARAM);
    afx_msg BOOL OnSetCursor(HWND window, UINT hitTest, UINT message);
    afx_msg void OnEditClear() { editor.Clear(); }
    afx_msg void OnEditUndo() { editor.Undo(); }
    afx_msg void OnEditRedo() { editor.Redo(); }
    afx_msg void OnEditCopy() { editor.Copy(); }
    afx_msg void OnEditCopySelection() { editor.CopySelection(); }
    afx_msg void OnEditCrop() { editor.Crop(); }
    afx_msg void OnEditResize();
    afx_msg void OnEditRotate();
    afx_msg void OnToolMove() { mouse.ChooseTool(EditorState::kEditMove); }
    afx_msg void OnToolSelect() { mouse.ChooseTool(EditorState::kEditSelect); }
    afx_msg void OnZoomOut() { editor.ZoomUp(); }
    afx_msg void OnZoomIn() { editor.ZoomDown(); }
    afx_msg void OnBackgroundColor();
    afx_msg void OnUpdateToolMove(CCmdUI* ui);
    afx_msg void OnUpdateToolSelect(CCmdUI* ui);
    afx_msg void OnUpdateNeedsSelection(CCmdUI* ui) { ui->Enable(hasSelection); }
    afx_msg void OnUpdateUndo(CCmdUI* ui) { ui->Enable(history.CanUndo()); }
    afx_msg void OnUpdateRedo(CCmdUI* ui) { ui->Enable(history.CanRedo()); }
    // The drawing tools.
    afx_msg void OnAnnotateTool(UINT id);
    afx_msg void OnUpdateAnnotateTool(CCmdUI* ui);
    afx_msg void OnAnnotateColour();
    afx_msg void OnAnnotateWidth(UINT id);
    afx_msg void OnUpdateAnnotateWidth(CCmdUI* ui);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg LRESULT OnCharMessage(WPARAM character, LPARAM);
    afx_msg void OnFileOpenImage();
    afx_msg BOOL OnCopyData(HWND sender, COPYDATASTRUCT* data);
    // The notification-area icon's "&Edit..." and double-click.
    afx_msg void OnShowEditor();
    DECLARE_MESSAGE_MAP()
};
