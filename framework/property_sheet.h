#pragma once
// A modal property sheet: a tab per page; OK, Cancel, Apply (usable once a page reports a change)
// and, when the program has a Help command, Help. The sheet's window is the system's; we bind to
// it once the system has built it and then call OnInitDialog.
#include <string>
#include <vector>

#include "framework/property_page.h"

class CPropertySheet : public CWnd {
public:
    // Without a parent the main window owns the sheet (and is disabled while it runs).
    explicit CPropertySheet(const char* caption, CWnd* parent = nullptr, UINT selectPage = 0);

    // Pages show in the order they are added; they must outlive DoModal.
    void AddPage(CPropertyPage* page);
    // IDOK when the sheet closed with OK (every page that exists has taken it), else IDCANCEL.
    virtual INT_PTR DoModal();
    // The system has built the sheet, its buttons and its first page.
    virtual BOOL OnInitDialog() { return TRUE; }

    PROPSHEETHEADERA m_psh{};

private:
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);
    // The page area as large as the largest page asks for in its own font.
    void FitPagesInTheirFonts();

    std::string m_caption;
    CWnd* m_pParentWnd;
    std::vector<CPropertyPage*> m_pages;
};
