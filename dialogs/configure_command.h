#pragma once
// The Configure command: runs the Configure sheet on the settings and takes the values back.
// The capture hot-key is unregistered while the sheet is open and registered again afterwards,
// whatever the outcome.
#include "app/capture_settings.h"

class CWnd;
class CCapturePage;
class CSavePage;

class ConfigureCommand {
public:
    // `owner` holds the hot-key (`hotKeyId`) and owns the messages; `sheetOpen` is set while the
    // sheet runs.
    ConfigureCommand(CWnd& owner, CaptureSettings& settings, bool& sheetOpen, int hotKeyId)
        : owner(owner), settings(settings), sheetOpen(sheetOpen), hotKeyId(hotKeyId) {}

    // Does nothing while the sheet is already open.
    void Run();

private:
    void TakeBack(const CCapturePage& capturePage, const CSavePage& savePage);
    void RegisterHotKeyAgain();
    void Inform(const char* text);

    CWnd& owner;
    CaptureSettings& settings;
    bool& sheetOpen;
    int hotKeyId;
};
