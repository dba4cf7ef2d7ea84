#include "framework/property_page.h"

#include "framework/resource_ids.h"
#include "framework/sheet_fit.h"
#include "framework/win_app.h"

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId) {
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    m_psp.pfnDlgProc = PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

bool CPropertyPage::OnApply() {
    OnOK();
    m_applied = true;
    return true;
}

void CPropertyPage::OnHelp() {
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(WM_COMMAND, ID_HELP);
}

bool CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    // The sheet's own notifications come from the sheet itself, our parent.
    if (header->hwndFrom == GetParent()) {
        switch (header->code) {
        case PSN_SETACTIVE:
            // A page made after the sheet grew was sized to the sheet's first guess.
            sheet_fit::FitPage(header->hwndFrom, m_hWnd);
            *result = OnSetActive() ? 0 : -1;
            return true;
        case PSN_KILLACTIVE:
            *result = OnKillActive() ? FALSE : TRUE;
            return true;
        case PSN_APPLY:
            *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
            return true;
        case PSN_RESET:
            OnReset();
            *result = 0;
            return true;
        case PSN_HELP:
            OnHelp();
            *result = 0;
            return true;
        default:
            break;
        }
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* page = static_cast<CPropertyPage*>(FromHandlePermanent(hWnd));
    if (!page && message == WM_INITDIALOG) {
        // The system passes its copy of our PROPSHEETPAGE; its lParam is the page object.
        auto* sheetPage = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
        page = reinterpret_cast<CPropertyPage*>(sheetPage->lParam);
        BindDialog(page, hWnd);
    }
    if (!page) return FALSE;
    return HandleDialogMessage(page, hWnd, message, wParam, lParam);
}
