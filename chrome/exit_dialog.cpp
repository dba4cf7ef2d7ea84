#include "chrome/exit_dialog.h"

#include "res/resource.h"

CExitDlg::CExitDlg(CWnd* parent) : CDialog(IDD_EXIT, parent) {}

BOOL CExitDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ::SendDlgItemMessageA(m_hWnd, IDC_EXIT_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(::LoadIconA(nullptr, IDI_QUESTION)), 0);
    // The focus starts on Cancel too: a focused push button would take over the default.
    ::SetFocus(GetDlgItem(IDCANCEL));
    return FALSE;
}
