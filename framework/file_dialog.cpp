#include "framework/file_dialog.h"

#include "framework/win_app.h"

CFileDialog::CFileDialog(bool open, const char* defaultExt, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : CDialog(0, parent), m_open(open) {
    if (defaultExt) m_defaultExt = defaultExt;
    if (fileName) lstrcpynA(m_fileBuffer, fileName, sizeof m_fileBuffer);
    if (filter) {
        m_filter = filter;
        for (char& c : m_filter)
            if (c == '|') c = '\0';
    }
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_fileBuffer;
    m_ofn.nMaxFile = sizeof m_fileBuffer;
    // An empty default extension is still a default extension: the system then appends the
    // selected type's extension to a name typed without one.
    m_ofn.lpstrDefExt = defaultExt ? m_defaultExt.c_str() : nullptr;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    m_ofn.lpfnHook = HookProc;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
}

void CFileDialog::SetTemplate(UINT templateId) {
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(templateId);
}

INT_PTR CFileDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd()) owner = AfxGetMainWnd()->m_hWnd;
    m_ofn.hwndOwner = owner;
    BOOL ok = m_open ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

std::string CFileDialog::GetFileName() const {
    std::string path = m_fileBuffer;
    return path.substr(path.find_last_of("\\/") + 1);
}

bool CFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case CDN_TYPECHANGE:
        OnTypeChange();
        return true;
    case CDN_FILEOK:
        // A non-zero answer keeps the dialog open.
        *result = OnFileNameOK() ? 0 : 1;
        ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, *result);
        return true;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = static_cast<CFileDialog*>(FromHandlePermanent(hWnd));
    if (!dialog && message == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lParam);
        dialog = reinterpret_cast<CFileDialog*>(ofn->lCustData);
        BindDialog(dialog, hWnd);
    }
    if (!dialog) return 0;
    return HandleDialogMessage(dialog, hWnd, message, wParam, lParam);
}
