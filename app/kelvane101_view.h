#pragma once
// The central view: holds the settings, the current image and all capture state for the whole run.
#include <string>

#include "app/capture_settings.h"
#include "framework/framework.h"

class CMainFrame;

class CKelvane101View : public CScrollView {
    DECLARE_DYNCREATE(CKelvane101View)
public:
    static constexpr int kCaptureHotKeyId = 0xBCBC;
    static constexpr UINT_PTR kAnimationTimer = 1;

    CKelvane101View();
    ~CKelvane101View() override;

    CaptureSettings settings;
    std::string tempBitmapPath;  // the intermediate BMP of JPEG and GIF saves
    int zoomPercent = 100;
    bool hasImage = false;
    bool configureSheetOpen = false;
    bool captureRunning = false;
    CPalette palette;  // the system palette, on palette displays

    // Writes the autostart value and configure.dat as the settings say (at exit and at log-off).
    void StoreSettings();
    CMainFrame* MainFrame() const;
    void OnInitialUpdate() override;

protected:
    void LoadSettings();
    void RegisterCaptureHotKey();
    void CapturePalette();

    afx_msg BOOL OnEraseBkgnd(HDC dc);
    DECLARE_MESSAGE_MAP()
};
