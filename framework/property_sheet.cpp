#include "framework/property_sheet.h"

#include "framework/resource_ids.h"
#include "framework/sheet_fit.h"
#include "framework/win_app.h"

namespace {

// The sheet whose PropertySheet call runs now on this thread (the callback has no user data).
thread_local CPropertySheet* t_runningSheet = nullptr;

// Whether the program answers its Help command; the sheet then offers its Help button.
bool ProgramHasHelp() {
    CWnd* main = AfxGetMainWnd();
    HandlerInfo info;
    return main && main->OnCmdMsg(ID_HELP, CN_COMMAND, nullptr, &info);
}

}  // namespace

CPropertySheet::CPropertySheet(const char* caption, CWnd* parent, UINT selectPage)
    : m_caption(caption ? caption : ""), m_pParentWnd(parent) {
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.nStartPage = selectPage;
}

void CPropertySheet::AddPage(CPropertyPage* page) { m_pages.push_back(page); }

INT_PTR CPropertySheet::DoModal() {
    const bool help = ProgramHasHelp();
    if (help) m_psh.dwFlags |= PSH_HASHELP;
    std::vector<PROPSHEETPAGEA> pages;
    for (CPropertyPage* page : m_pages) {
        page->m_applied = false;
        page->m_psp.lParam = reinterpret_cast<LPARAM>(page);
        if (help) page->m_psp.dwFlags |= PSP_HASHELP;
        pages.push_back(page->m_psp);
    }
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd()) owner = AfxGetMainWnd()->m_hWnd;
    m_psh.hwndParent = owner;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_caption.c_str();
    m_psh.nPages = static_cast<UINT>(pages.size());
    m_psh.ppsp = pages.data();
    m_psh.pfnCallback = SheetCallback;

    CPropertySheet* outer = t_runningSheet;
    t_runningSheet = this;
    INT_PTR result = ::PropertySheetA(&m_psh);
    t_runningSheet = outer;
    if (result < 0) return IDCANCEL;
    // The system's answer says whether a page marked itself changed, not which button closed
    // the sheet: OK is the button that made the pages apply.
    for (CPropertyPage* page : m_pages)
        if (page->Applied()) return IDOK;
    return IDCANCEL;
}

void CPropertySheet::FitPagesInTheirFonts() {
    SIZE needed{0, 0};
    for (CPropertyPage* page : m_pages) {
        const SIZE size = sheet_fit::TemplateSize(m_hWnd, page->m_psp.hInstance, page->m_psp.pszTemplate);
        if (size.cx > needed.cx) needed.cx = size.cx;
        if (size.cy > needed.cy) needed.cy = size.cy;
    }
    sheet_fit::GrowPageArea(m_hWnd, needed);
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && t_runningSheet && !t_runningSheet->m_hWnd) {
        CPropertySheet* sheet = t_runningSheet;
        sheet->SubclassWindow(hWnd);
        sheet->FitPagesInTheirFonts();
        sheet->OnInitDialog();
    }
    return 0;
}
