#pragma once
// CSystemTray: one icon in the taskbar's notification area, kept there for the life of its owner.
// A right-click opens the popup menu whose resource id is the icon's id, a double-click runs the
// menu's fifth entry; every action ends as a WM_COMMAND to the owner, routed like a menu command.
#include <windows.h>
#include <shellapi.h>

#include "framework/framework.h"

class CSystemTray : public CObject {
    DECLARE_DYNCREATE(CSystemTray)
public:
    CSystemTray();
    ~CSystemTray() override;
    CSystemTray(const CSystemTray&) = delete;
    CSystemTray& operator=(const CSystemTray&) = delete;

    // Puts the icon into the notification area. `id` is the icon's identifier and the resource id
    // of its popup menu; a tooltip longer than 63 characters is cut to fit.
    BOOL AddIcon(CWnd* parent, UINT callbackMessage, const char* tooltip, HICON icon, UINT id);
    // Replaces the shown icon; FALSE while the icon is not in the notification area.
    BOOL ChangeIcon(HICON icon);
    BOOL ChangeIcon(UINT iconResourceId);
    // Replaces the tooltip (cut to 63 characters); FALSE while the icon is not there.
    BOOL SetTooltipText(const char* tooltip);
    // Takes the icon out; FALSE when it was not there.
    BOOL DeleteIcon();
    // The owner's callback message, parameters unchanged (wParam: icon id, lParam: mouse message).
    virtual LRESULT OnIconNotify(WPARAM wParam, LPARAM lParam);

    // The shell started afresh (Explorer restarted) and lost every icon: puts ours back as it was.
    BOOL RestoreIcon();
    bool IsPresent() const { return enabled != FALSE; }
    // The message the shell broadcasts to every top-level window when its taskbar is (re)created.
    static UINT TaskbarCreatedMessage();

    // Where the menu's double-click command sits, and which entry is shown as the default.
    static constexpr int kDoubleClickPosition = 4;
    static constexpr int kDefaultItemPosition = 0;

protected:
    BOOL enabled;
    NOTIFYICONDATAA notifyData;

private:
    // The popup of the icon's menu resource, loaded afresh; the caller destroys `menu`.
    HMENU LoadPopup(HMENU* menu) const;
    LRESULT ShowMenu();
    LRESULT RunDoubleClickCommand();
};
