#pragma once
// The "Capture" page of the Configure sheet: the global hot-key, the default capture mode, the
// sound, the information box, autostart and keeping the settings, the delay before a capture and
// the mouse pointer in the picture.
#include "dialogs/configure_values.h"
#include "framework/framework.h"

class CCapturePage : public CPropertyPage, public CapturePageValues {
public:
    CCapturePage();

    BOOL OnInitDialog() override;
    // OK: the hot-key control and every other control into the members.
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;

    afx_msg void OnActiveWindow();
    afx_msg void OnFullScreen();
    afx_msg void OnRectangle();
    afx_msg void OnWindowControl();
    afx_msg void OnDirectX();
    afx_msg void OnMonitor();
    // The clicked capture radio is the only one checked: each radio is a group of its own.
    void KeepOnlyChecked(int clickedId);

    CButton activeWindowButton, fullScreenButton, rectangleButton, windowControlButton, directXButton,
        monitorButton;
    CComboBox delayCombo;
    CHotKeyCtrl hotKeyControl;
    DECLARE_MESSAGE_MAP()
};
