#include "dialogs/capture_page.h"

#include "capture/capture_options.h"
#include "capture/directx_note.h"
#include "res/resource.h"

namespace {

const int kCaptureRadios[] = {IDC_CAPPAGE_ACTIVE_WINDOW, IDC_CAPPAGE_FULL_SCREEN, IDC_CAPPAGE_RECTANGLE,
                              IDC_CAPPAGE_WINDOW_CONTROL, IDC_CAPPAGE_DIRECTX, IDC_CAPPAGE_MONITOR};

const char* const kDelayTexts[CaptureOptions::kDelayChoiceCount] = {"None", "1 second", "3 seconds", "5 seconds",
                                                                    "10 seconds"};

}  // namespace

BEGIN_MESSAGE_MAP(CCapturePage, CPropertyPage)
    ON_BN_CLICKED(IDC_CAPPAGE_ACTIVE_WINDOW, OnActiveWindow)
    ON_BN_CLICKED(IDC_CAPPAGE_FULL_SCREEN, OnFullScreen)
    ON_BN_CLICKED(IDC_CAPPAGE_RECTANGLE, OnRectangle)
    ON_BN_CLICKED(IDC_CAPPAGE_WINDOW_CONTROL, OnWindowControl)
    ON_BN_CLICKED(IDC_CAPPAGE_DIRECTX, OnDirectX)
    ON_BN_CLICKED(IDC_CAPPAGE_MONITOR, OnMonitor)
END_MESSAGE_MAP()

CCapturePage::CCapturePage() : CPropertyPage(IDD_CAPTURE_PAGE) {}

void CCapturePage::DoDataExchange(CDataExchange* dx) {
    DDX_Check(dx, IDC_CAPPAGE_PLAY_SOUND, playSound);
    DDX_Check(dx, IDC_CAPPAGE_SHOW_INFO, showInfoDialog);
    DDX_Radio(dx, IDC_CAPPAGE_ACTIVE_WINDOW, activeWindowRadio);
    DDX_Radio(dx, IDC_CAPPAGE_FULL_SCREEN, fullScreenRadio);
    DDX_Radio(dx, IDC_CAPPAGE_RECTANGLE, rectangleRadio);
    DDX_Radio(dx, IDC_CAPPAGE_WINDOW_CONTROL, windowControlRadio);
    DDX_Check(dx, IDC_CAPPAGE_RUN_AT_STARTUP, runAtStartup);
    DDX_Check(dx, IDC_CAPPAGE_SAVE_ON_EXIT, saveSettingsOnExit);
    DDX_Radio(dx, IDC_CAPPAGE_DIRECTX, directXRadio);
    DDX_Radio(dx, IDC_CAPPAGE_MONITOR, monitorRadio);
    DDX_Check(dx, IDC_CAPPAGE_INCLUDE_POINTER, includePointer);
    // The combo is filled in OnInitDialog, after the first exchange: its choice is set there.
    if (dx->m_bSaveAndValidate) delayChoice = delayCombo.GetCurSel();
}

BOOL CCapturePage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    activeWindowButton.SubclassDlgItem(IDC_CAPPAGE_ACTIVE_WINDOW, this);
    fullScreenButton.SubclassDlgItem(IDC_CAPPAGE_FULL_SCREEN, this);
    rectangleButton.SubclassDlgItem(IDC_CAPPAGE_RECTANGLE, this);
    windowControlButton.SubclassDlgItem(IDC_CAPPAGE_WINDOW_CONTROL, this);
    directXButton.SubclassDlgItem(IDC_CAPPAGE_DIRECTX, this);
    monitorButton.SubclassDlgItem(IDC_CAPPAGE_MONITOR, this);
    delayCombo.SubclassDlgItem(IDC_CAPPAGE_DELAY, this);
    for (const char* text : kDelayTexts) delayCombo.AddString(text);
    delayCombo.SetCurSel(delayChoice);
    hotKeyControl.SubclassDlgItem(IDC_CAPPAGE_HOTKEY, this);
    hotKeyControl.SetHotKey(hotKeyCode, hotKeyFlags);
    return TRUE;
}

void CCapturePage::OnOK() {
    WORD key = 0, flags = 0;
    hotKeyControl.GetHotKey(key, flags);
    hotKeyCode = key;
    hotKeyFlags = flags;
    UpdateData(true);
}

void CCapturePage::KeepOnlyChecked(int clickedId) {
    for (int id : kCaptureRadios)
        if (id != clickedId) ::SendDlgItemMessageA(m_hWnd, id, BM_SETCHECK, BST_UNCHECKED, 0);
}

void CCapturePage::OnActiveWindow() { KeepOnlyChecked(IDC_CAPPAGE_ACTIVE_WINDOW); }
void CCapturePage::OnFullScreen() { KeepOnlyChecked(IDC_CAPPAGE_FULL_SCREEN); }
void CCapturePage::OnRectangle() { KeepOnlyChecked(IDC_CAPPAGE_RECTANGLE); }
void CCapturePage::OnWindowControl() { KeepOnlyChecked(IDC_CAPPAGE_WINDOW_CONTROL); }
void CCapturePage::OnMonitor() { KeepOnlyChecked(IDC_CAPPAGE_MONITOR); }

void CCapturePage::OnDirectX() {
    KeepOnlyChecked(IDC_CAPPAGE_DIRECTX);
    // Shown on every click, also when the direct grab was already chosen.
    MessageBox(kDirectXNoteText, kDirectXNoteCaption, MB_OK);
}
