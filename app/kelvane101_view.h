#pragma once
// The central view: holds the settings, the current image and all capture state for the whole run.
#include <string>

#include "app/capture_settings.h"
#include "capture/capture_controller.h"
#include "capture/dib_conversions.h"
#include "framework/framework.h"
#include "imagefile/image_saver.h"

class CMainFrame;

class CKelvane101View : public CScrollView {
    DECLARE_DYNCREATE(CKelvane101View)
public:
    static constexpr int kCaptureHotKeyId = 0xBCBC;
    static constexpr UINT_PTR kAnimationTimer = 1;

    CKelvane101View();
    ~CKelvane101View() override;

    // The mouse tools of the editor.
    enum EditMode { kEditNone = 0, kEditMove = 1, kEditSelect = 2 };

    CaptureSettings settings;
    std::string tempBitmapPath;  // the intermediate BMP of JPEG and GIF saves
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
    ImageSaver saver{*this};

    // Writes the autostart value and configure.dat as the settings say (at exit and at log-off).
    void StoreSettings();
    CMainFrame* MainFrame() const;
    void OnInitialUpdate() override;

    // The save step of the pipeline and the new edit history of a new image.
    void SaveAfterCapture();
    void StartHistory();
    // The automatic save of a direct grab's pendingDib.
    void AutoSaveDib();
    // A saved file's row in the history list.
    void AddHistoryEntry(const std::string& name, const std::string& path);

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
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();
    afx_msg void OnUpdateNeedsImage(CCmdUI* ui);
    // The notification-area icon's "&Edit..." and double-click.
    afx_msg void OnShowEditor();
    DECLARE_MESSAGE_MAP()
};
