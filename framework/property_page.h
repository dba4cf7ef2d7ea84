#pragma once
// One page of a property sheet: a child dialog from a template, made by the sheet the first time
// the page comes to the front. A page the user never opened has no window and gets no OK.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include "framework/dialog.h"

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId);

    // Filled in by the constructor; the sheet hands a copy to the system.
    PROPSHEETPAGEA m_psp{};

    // PSN_SETACTIVE: the page comes to the front; false keeps it from doing so.
    virtual bool OnSetActive() { return true; }
    // PSN_KILLACTIVE: the page is left (another tab, or OK): its controls are read into the
    // members; false (an invalid field) keeps the page in front.
    virtual bool OnKillActive() { return UpdateData(true); }
    // PSN_APPLY: the sheet closes with OK; runs OnOK.
    virtual bool OnApply();
    // PSN_RESET: the sheet closes with Cancel; runs OnCancel.
    virtual void OnReset() { OnCancel(); }
    // PSN_HELP: the sheet's Help button. A page without help of its own gives the program's help,
    // as the main window's Help command does.
    virtual void OnHelp();
    // A page does not end the sheet: the default OK and Cancel do nothing.
    void OnOK() override {}
    void OnCancel() override {}

    // True once the page has taken an OK.
    bool Applied() const { return m_applied; }

protected:
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool m_applied = false;
};
