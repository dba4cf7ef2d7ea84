#include "dialogs/configure_command.h"

#include <shlwapi.h>

#include "app/message_caption.h"
#include "dialogs/capture_page.h"
#include "dialogs/configure_rules.h"
#include "dialogs/dialog_sheet.h"
#include "dialogs/save_page.h"

void ConfigureCommand::Run() {
    if (sheetOpen) return;
    ::UnregisterHotKey(owner.m_hWnd, hotKeyId);
    sheetOpen = true;
    {
        CDialogSheet sheet("Configure", nullptr, 0);
        CCapturePage capturePage;
        CSavePage savePage;
        ConfigureRules::PageValues values = ConfigureRules::CopyIn(settings);
        static_cast<CapturePageValues&>(capturePage) = values.capture;
        static_cast<SavePageValues&>(savePage) = values.save;
        sheet.AddPage(&capturePage);
        sheet.AddPage(&savePage);
        if (sheet.DoModal() == IDOK) TakeBack(capturePage, savePage);
        RegisterHotKeyAgain();
        sheetOpen = false;
    }
}

void ConfigureCommand::TakeBack(const CCapturePage& capturePage, const CSavePage& savePage) {
    ConfigureRules::PageValues values{capturePage, savePage};
    bool directoryExists = ::PathIsDirectoryA(values.save.saveDirectory.c_str()) != FALSE;
    ConfigureRules::TakeBackOutcome outcome = ConfigureRules::TakeBack(values, directoryExists, settings);
    if (outcome.directoryRefused) Inform("Invalidate Directory, system will keep the previous value.");
    if (outcome.baseNameRefused) Inform("Invalidate filebasename, system will keep the previous value.");
}

void ConfigureCommand::RegisterHotKeyAgain() {
    if (settings.hotKeyCode == 0) return;  // no hot-key: nothing to register, nothing to say
    if (::RegisterHotKey(owner.m_hWnd, hotKeyId, settings.hotKeyModifiers, settings.hotKeyCode)) return;
    Inform("Registering hotkey failed! It may be used for other program, please set it again.");
    settings.hotKeyCode = 0;
    settings.hotKeyModifiers = 0;
}

void ConfigureCommand::Inform(const char* text) {
    owner.MessageBox(text, kMessageCaption, MB_OK | MB_ICONINFORMATION);
}
