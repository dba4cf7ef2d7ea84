#include "app/kelvane101_view.h"

#include <cstdio>

#include "agents/agents.h"
#include "app/exit_write.h"
#include "app/main_frame.h"
#include "app/message_caption.h"
#include "app/program_folder.h"
#include "app/settings_store.h"
#include "capture/capture_agents.h"
#include "capture/capture_options.h"
#include "capture/capture_options_store.h"
#include "capture/directx_note.h"
#include "editor/resize_dialog.h"
#include "editor/rotate_dialog.h"
#include "history/open_request.h"
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
    ON_COMMAND(ID_CAPTURE_MONITOR, OnCaptureMonitor)
    ON_COMMAND_RANGE(ID_CAPTURE_DELAY_0, ID_CAPTURE_DELAY_10, OnCaptureDelay)
    ON_UPDATE_COMMAND_UI_RANGE(ID_CAPTURE_DELAY_0, ID_CAPTURE_DELAY_10, OnUpdateCaptureDelay)
    ON_COMMAND(ID_FILE_SAVE_IMAGE, OnFileSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_IMAGE, OnUpdateNeedsImage)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
    ON_COMMAND(ID_SETTING_CAPTURE_CONFIGURE, OnSettingCaptureConfigure)
    // The image editor.
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_WM_SETCURSOR()
    ON_COMMAND(ID_EDIT_CLEAR_IMAGE, OnEditClear)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR_IMAGE, OnUpdateNeedsImage)
    ON_COMMAND(ID_EDIT_UNDO_STEP, OnEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO_STEP, OnUpdateUndo)
    ON_COMMAND(ID_EDIT_REDO_STEP, OnEditRedo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO_STEP, OnUpdateRedo)
    ON_COMMAND(ID_EDIT_COPY_IMAGE, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_IMAGE, OnUpdateNeedsImage)
    ON_COMMAND(ID_TOOL_SELECT, OnToolSelect)
    ON_UPDATE_COMMAND_UI(ID_TOOL_SELECT, OnUpdateToolSelect)
    ON_COMMAND(ID_ZOOM_OUT, OnZoomOut)
    ON_UPDATE_COMMAND_UI(ID_ZOOM_OUT, OnUpdateNeedsImage)
    ON_COMMAND(ID_ZOOM_IN, OnZoomIn)
    ON_UPDATE_COMMAND_UI(ID_ZOOM_IN, OnUpdateNeedsImage)
    ON_COMMAND(ID_EDIT_CROP, OnEditCrop)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CROP, OnUpdateNeedsSelection)
    ON_COMMAND(ID_EDIT_RESIZE, OnEditResize)
    ON_UPDATE_COMMAND_UI(ID_EDIT_RESIZE, OnUpdateNeedsImage)
    ON_COMMAND(ID_TOOL_MOVE, OnToolMove)
    ON_UPDATE_COMMAND_UI(ID_TOOL_MOVE, OnUpdateToolMove)
    ON_COMMAND(ID_EDIT_ROTATE, OnEditRotate)
    ON_UPDATE_COMMAND_UI(ID_EDIT_ROTATE, OnUpdateNeedsImage)
    ON_COMMAND(ID_EDIT_COPY_SELECTION, OnEditCopySelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_SELECTION, OnUpdateNeedsSelection)
    ON_COMMAND(ID_SETTING_BACKGROUND_COLOR, OnBackgroundColor)
    ON_COMMAND(ID_FILE_OPEN_IMAGE, OnFileOpenImage)
    ON_WM_COPYDATA()
    ON_COMMAND(ID_SHOW_EDITOR, OnShowEditor)
    ON_COMMAND_RANGE(ID_ANNOTATE_PEN, ID_ANNOTATE_PIXELATE, OnAnnotateTool)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ANNOTATE_PEN, ID_ANNOTATE_PIXELATE, OnUpdateAnnotateTool)
    ON_COMMAND(ID_ANNOTATE_COLOUR, OnAnnotateColour)
    ON_COMMAND_RANGE(ID_ANNOTATE_WIDTH_2, ID_ANNOTATE_WIDTH_8, OnAnnotateWidth)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ANNOTATE_WIDTH_2, ID_ANNOTATE_WIDTH_8, OnUpdateAnnotateWidth)
    ON_WM_KEYDOWN()
    ON_MESSAGE(WM_CHAR, OnCharMessage)
END_MESSAGE_MAP()

CKelvane101View::CKelvane101View() {
    char tempDir[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, tempDir);
    tempBitmapPath = tempDir;
    LoadSettings();
}

CKelvane101View::~CKelvane101View() {
    // Graphics resources first, then the settings.
    history.Clear();
    display.displayBitmap.DeleteObject();
    display.FreeBackBuffer();
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
    CaptureOptionsStore::Load(settings);  // older setups have none: no delay, no pointer
}

void CKelvane101View::StoreSettings(bool askOnFailure) {
    if (settings.runAtStartup) AutostartEntry::Set(ProgramPath());
    else AutostartEntry::Remove();
    if (!settings.saveSettingsOnExit) return;
    // A failed write keeps the old file whole; the user learns why and may free the way and retry.
    ExitWrite::WriteOrReport(SettingsStore::SettingsPath(), [this] { return SettingsStore::SaveFile(settings); },
                             ExitWrite::AskIf(askOnFailure, nullptr));
    CaptureOptionsStore::Save(settings);  // a small file beside configure.dat: kept whole when it fails
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
    if (CMainFrame* frame = MainFrame()) frame->HistoryList().SetTargetView(this);
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
    MessageBox("Register Hotkey failed! please reset it in the Configure Dialog.", kMessageCaption,
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
    if (id == DelayedCapture::kCountdownTimer) delayedCapture.OnTimer();
    // The marching ants: only the frame and handles are drawn, the image is not repainted.
    if (id == kAnimationTimer && hasSelection) mouse.DrawOutline();
}

void CKelvane101View::OnHotKey(UINT, UINT, UINT) { delayedCapture.Request(); }

LRESULT CKelvane101View::OnCaptureDone(WPARAM result, LPARAM) {
    capture.OnCaptureDone(result);
    return 0;
}

void CKelvane101View::OnCaptureDefault() { delayedCapture.Request(); }

void CKelvane101View::OnCaptureMode(UINT id) {
    // The mode picked last becomes the default, for the hot-key and for the next start.
    settings.captureMode = static_cast<int>(id - ID_CAPTURE_FULL_SCREEN) + 1;
    delayedCapture.Request();
}

void CKelvane101View::OnCaptureMonitor() {
    settings.captureMode = kCaptureModeMonitor;
    delayedCapture.Request();
}

// The delay commands' ids are ID_CAPTURE_DELAY_0 plus the seconds; ids in between are not offered.
void CKelvane101View::OnCaptureDelay(UINT id) {
    settings.delaySeconds = CaptureOptions::OfferedDelay(static_cast<int>(id - ID_CAPTURE_DELAY_0));
}

void CKelvane101View::OnUpdateCaptureDelay(CCmdUI* ui) {
    ui->SetRadio(static_cast<int>(ui->m_nID - ID_CAPTURE_DELAY_0) == settings.delaySeconds);
}

void CKelvane101View::OnCaptureDirectXNote() {
    MessageBox(kDirectXNoteText, kDirectXNoteCaption, MB_OK);
}

void CKelvane101View::SaveAfterCapture() { saver.SaveAfterCapture(); }

void CKelvane101View::OnFileSave() {
    // Both the menu's Save and the notification-area menu's Save As end in the same dialog.
    SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
}

void CKelvane101View::OnFileSaveAs() { saver.OnFileSaveAs(); }

void CKelvane101View::OnUpdateNeedsImage(CCmdUI* ui) { ui->Enable(hasImage); }

void CKelvane101View::AddHistoryEntry(const std::string& name, const std::string& path) {
    if (CMainFrame* frame = MainFrame()) frame->HistoryList().AddEntry(name, path);
}

void CKelvane101View::OnFileOpenImage() { opener.OnFileOpenImage(); }

void CKelvane101View::OpenFromHistory(const std::string& path, bool fromHistoryList) {
    opener.OpenFromHistory(path, fromHistoryList);
}

BOOL CKelvane101View::OnCopyData(HWND sender, COPYDATASTRUCT* data) {
    // Any program may send this: the path is read only within the bytes that came, up to its zero.
    std::string path;
    if (data && OpenRequest::Read(data->lpData, data->cbData, path)) {
        CMainFrame* frame = MainFrame();
        OpenFromHistory(path, frame && sender == frame->HistoryList().m_hWnd);
    }
    return static_cast<BOOL>(Default());
}


// ---- the image editor ----------------------------------------------------------------------------

void CKelvane101View::OnDraw(CDC*) { PaintImage(); }

void CKelvane101View::PaintImage() {
    editor.AdoptPendingGrab();
    display.Paint();
    if (hasSelection) mouse.DrawOutline();
}

void CKelvane101View::SetStatusPane(int pane, const char* text) {
    if (CMainFrame* frame = MainFrame()) frame->StatusBar().SetPaneText(pane, text);
}

void CKelvane101View::ShowMessage(const char* text, const char* caption, UINT type) {
    CMainFrame* frame = MainFrame();
    ::MessageBoxA(frame ? frame->m_hWnd : m_hWnd, text, caption, type);
}

void CKelvane101View::OnLButtonDown(UINT flags, CPoint point) {
    // The keys of the tools and of a label come to the view once it is clicked.
    if (::GetFocus() != m_hWnd) ::SetFocus(m_hWnd);
    if (editMode == EditorState::kEditAnnotate) annotate.OnLButtonDown(point, (flags & MK_SHIFT) != 0);
    else mouse.OnLButtonDown(point);
    Default();
}

void CKelvane101View::OnMouseMove(UINT flags, CPoint point) {
    if (editMode == EditorState::kEditAnnotate) annotate.OnMouseMove(point, (flags & MK_SHIFT) != 0);
    else mouse.OnMouseMove(point);
    Default();
}

void CKelvane101View::OnLButtonUp(UINT flags, CPoint point) {
    if (editMode == EditorState::kEditAnnotate) annotate.OnLButtonUp(point, (flags & MK_SHIFT) != 0);
    else mouse.OnLButtonUp();
    Default();
}

LRESULT CKelvane101View::OnCaptureChanged(WPARAM, LPARAM) {
    mouse.OnCaptureLost();
    annotate.OnCaptureLost();
    return Default();
}

BOOL CKelvane101View::OnSetCursor(HWND window, UINT hitTest, UINT) {
    if (window == m_hWnd && editMode == EditorState::kEditAnnotate && annotate.OnSetCursor(hitTest)) return TRUE;
    if (window == m_hWnd && mouse.OnSetCursor(hitTest)) return TRUE;
    return static_cast<BOOL>(Default());
}

bool CKelvane101View::OnCmdMsg(UINT id, int code, void* extra, HandlerInfo* info) {
    if (code == CN_COMMAND && !info) annotate.Finish();
    return CScrollView::OnCmdMsg(id, code, extra, info);
}

bool CKelvane101View::PreTranslateMessage(MSG* msg) {
    const bool key = msg->message == WM_KEYDOWN || msg->message == WM_KEYUP || msg->message == WM_CHAR;
    // Ctrl combinations stay the frame's (Ctrl+Z ends the label, then undoes it).
    if (!key || msg->hwnd != m_hWnd || !annotate.Typing() || ::GetKeyState(VK_CONTROL) < 0) return false;
    ::TranslateMessage(msg);
    ::DispatchMessageA(msg);
    return true;
}

void CKelvane101View::OnAnnotateTool(UINT id) {
    if (!hasImage) return;
    annotate.ChooseTool(static_cast<Mark::Kind>(id - ID_ANNOTATE_PEN));
    ::SetFocus(m_hWnd);  // so that the letter keys and a label's typing follow a toolbar click
}

void CKelvane101View::OnUpdateAnnotateTool(CCmdUI* ui) {
    ui->Enable(hasImage);
    ui->SetCheck(annotate.IsActive(static_cast<Mark::Kind>(ui->m_nID - ID_ANNOTATE_PEN)));
}

void CKelvane101View::OnAnnotateColour() { annotate.ChooseColour(MainFrame()); }

// The image pixels of a width command.
static int WidthOfCommand(UINT id) { return id == ID_ANNOTATE_WIDTH_2 ? 2 : id == ID_ANNOTATE_WIDTH_4 ? 4 : 8; }

void CKelvane101View::OnAnnotateWidth(UINT id) { annotate.SetWidth(WidthOfCommand(id)); }

void CKelvane101View::OnUpdateAnnotateWidth(CCmdUI* ui) {
    ui->SetCheck(annotate.Options().width == WidthOfCommand(ui->m_nID));
}

void CKelvane101View::OnKeyDown(UINT key, UINT, UINT) {
    if (key == VK_ESCAPE) {
        SendMessage(WM_COMMAND, ID_TOOL_SELECT);  // ends a label first, as every command does
        return;
    }
    if (annotate.Typing()) return annotate.OnKeyDown(key);
    if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return;
    const int tool = AnnotateTools::ToolForKey(key);
    if (tool >= 0) SendMessage(WM_COMMAND, ID_ANNOTATE_PEN + static_cast<UINT>(tool));
}

LRESULT CKelvane101View::OnCharMessage(WPARAM character, LPARAM) {
    annotate.OnChar(static_cast<char>(character));
    return 0;
}

void CKelvane101View::OnUpdateToolMove(CCmdUI* ui) {
    ui->Enable(hasImage);
    ui->SetCheck(editMode == EditorState::kEditMove);
}

void CKelvane101View::OnUpdateToolSelect(CCmdUI* ui) {
    ui->Enable(hasImage);
    ui->SetCheck(editMode == EditorState::kEditSelect);
}

void CKelvane101View::OnEditResize() {
    if (!editor.ImageReady()) return;
    CSize size = imageBitmap.GetSize();
    CResizeDialog dialog(size.cx, size.cy, MainFrame());
    if (dialog.DoModal() == IDOK) editor.Resize(dialog.width, dialog.height);
}

void CKelvane101View::OnEditRotate() {
    if (!editor.ImageReady()) return;
    CRotateDialog dialog(MainFrame());
    if (dialog.DoModal() == IDOK) editor.Rotate(dialog.angleCode);
}

void CKelvane101View::OnBackgroundColor() {
    // Preset to black, not to the colour in use.
    CColorDialog dialog(RGB(0, 0, 0), CC_FULLOPEN | CC_ANYCOLOR, MainFrame());
    if (dialog.DoModal() != IDOK) return;
    settings.backgroundColor = dialog.GetColor();
    Invalidate();
}

void CKelvane101View::AutoSaveDib() { saver.AutoSaveDib(); }

void CKelvane101View::OnShowEditor() {
    if (CMainFrame* frame = MainFrame()) frame->ShowWindow(SW_SHOWNORMAL);
}
