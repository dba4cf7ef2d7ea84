#include "app/kelvane101_view.h"

#include "agents/agents.h"
#include "app/main_frame.h"
#include "app/settings_store.h"
#include "res/resource.h"

IMPLEMENT_DYNCREATE(CKelvane101View)

BEGIN_MESSAGE_MAP(CKelvane101View, CScrollView)
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_HOTKEY()
    ON_MESSAGE(WM_CAPTURE_DONE, OnCaptureDone)
    ON_COMMAND(ID_CAPTURE_DEFAULT, OnCaptureDefault)
    ON_COMMAND_RANGE(ID_CAPTURE_FULL_SCREEN, ID_CAPTURE_RECTANGLE, OnCaptureMode)
    ON_COMMAND(ID_CAPTURE_DIRECTX_NOTE, OnCaptureDirectXNote)
    ON_COMMAND(ID_FILE_SAVE_IMAGE, OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_IMAGE, OnUpdateNeedsImage)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
    ON_COMMAND(ID_SHOW_EDITOR, OnShowEditor)
END_MESSAGE_MAP()

CKelvane101View::CKelvane101View() {
    char tempDir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, tempDir);
    tempBitmapPath = std::string(tempDir) + "##temp##.bmp";
    LoadSettings();
}

CKelvane101View::~CKelvane101View() {
    // Graphics resources first, then the settings.
    imageBitmap.DeleteObject();
    clipboardBitmap.DeleteObject();
    palette.DeleteObject();
    pendingDib.Free();
    StoreSettings();
}

void CKelvane101View::LoadSettings() {
    settings = CaptureSettings{};
    settings.runAtStartup = AutostartEntry::IsPresent() ? 1 : 0;
    if (!SettingsStore::LoadFile(settings))
        ::MessageBoxA(nullptr, "Can't find configure.dat. Use the default settings!", "Varnicklet1.0",
                      MB_OK | MB_ICONINFORMATION);
}

void CKelvane101View::StoreSettings() {
    if (settings.runAtStartup) AutostartEntry::Set(SettingsStore::ExecutablePath());
    else AutostartEntry::Remove();
    // A folder we may not write to keeps its old file; that is all we can do at exit.
    if (settings.saveSettingsOnExit) SettingsStore::SaveFile(settings);
}

CMainFrame* CKelvane101View::MainFrame() const {
    return dynamic_cast<CMainFrame*>(GetParentFrame());
}

void CKelvane101View::OnInitialUpdate() {
    CScrollView::OnInitialUpdate();
    SetTimer(kAnimationTimer, 100);
    CapturePalette();
    SetScrollSizes(MM_TEXT, CSize(0, 0));
    RegisterCaptureHotKey();
}

void CKelvane101View::CapturePalette() {
    CClientDC dc(m_hWnd);
    if (dc.GetDeviceCaps(RASTERCAPS) & RC_PALETTE) palette.Attach(CreateSystemPalette(dc));
}

void CKelvane101View::RegisterCaptureHotKey() {
    // Registered even for key 0, so a cleared hot-key still fails or succeeds the same way.
    if (::RegisterHotKey(m_hWnd, kCaptureHotKeyId, settings.hotKeyModifiers, settings.hotKeyCode)) return;
    settings.hotKeyCode = 0;
    settings.hotKeyModifiers = 0;
    MessageBox("Register Hotkey failed! please reset it in the Configure Dialog.", "Tessaly Capture",
               MB_OK | MB_ICONINFORMATION);
}

BOOL CKelvane101View::OnEraseBkgnd(HDC dc) {
    if (!hasImage) {
        CRect clip;
        ::GetClipBox(dc, &clip);
        CBrush brush(settings.backgroundColor);
        CSelectGuard select(dc, brush.GetSafeHandle());
        ::PatBlt(dc, clip.left, clip.top, clip.Width(), clip.Height(), PATCOPY);
    }
    return TRUE;
}

void CKelvane101View::OnTimer(UINT_PTR id) {
    if (id == CaptureController::kWatchdogTimer) capture.OnWatchdog();
}

void CKelvane101View::OnHotKey(UINT, UINT, UINT) { capture.StartCapture(); }

LRESULT CKelvane101View::OnCaptureDone(WPARAM result, LPARAM) {
    capture.OnCaptureDone(result);
    return 0;
}

void CKelvane101View::OnCaptureDefault() { capture.StartCapture(); }

void CKelvane101View::OnCaptureMode(UINT id) {
    // The mode picked last becomes the default, for the hot-key and for the next start.
    settings.captureMode = static_cast<int>(id - ID_CAPTURE_FULL_SCREEN) + 1;
    capture.StartCapture();
}

void CKelvane101View::OnCaptureDirectXNote() {
    MessageBox("Note for DirectX Full Screen Capture Settings:\n1.Use hotkey.\n2.No message dialog be "
               "shown.\n3.No 'save as' dialog after capture. Use auto-save.",
               "DirectX Capture Notes", MB_OK);
}

void CKelvane101View::SaveAfterCapture() { saver.SaveAfterCapture(); }

void CKelvane101View::OnFileSave() {
    // Both the menu's Save and the notification-area menu's Save As end in the same dialog.
    SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
}

void CKelvane101View::OnFileSaveAs() { saver.OnFileSaveAs(); }

void CKelvane101View::OnUpdateNeedsImage(CCmdUI* ui) { ui->Enable(hasImage); }

void CKelvane101View::AddHistoryEntry(const std::string&, const std::string&) {
    // The history list joins here.
}

void CKelvane101View::StartHistory() {
    // The edit history of the editor joins here.
}

void CKelvane101View::AutoSaveDib() { saver.AutoSaveDib(); }

void CKelvane101View::OnShowEditor() {
    if (CMainFrame* frame = MainFrame()) frame->ShowWindow(SW_SHOWNORMAL);
}
