#include "editor/rotate_dialog.h"

#include "res/resource.h"

BEGIN_MESSAGE_MAP(CRotateDialog, CDialog)
    ON_BN_CLICKED(IDC_ROTATE_90, On90)
    ON_BN_CLICKED(IDC_ROTATE_180, On180)
    ON_BN_CLICKED(IDC_ROTATE_270, On270)
END_MESSAGE_MAP()

CRotateDialog::CRotateDialog(CWnd* parent) : CDialog(IDD_ROTATE, parent) {}

BOOL CRotateDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    int checked = initialChoice == 1 ? IDC_ROTATE_90 : initialChoice == 2 ? IDC_ROTATE_180 : IDC_ROTATE_270;
    ::CheckDlgButton(m_hWnd, checked, BST_CHECKED);
    return TRUE;
}

void CRotateDialog::On90() { Choose(IDC_ROTATE_90, 270); }
void CRotateDialog::On180() { Choose(IDC_ROTATE_180, 180); }
void CRotateDialog::On270() { Choose(IDC_ROTATE_270, 90); }

void CRotateDialog::Choose(int button, int code) {
    for (int id : {IDC_ROTATE_90, IDC_ROTATE_180, IDC_ROTATE_270})
        ::CheckDlgButton(m_hWnd, id, id == button ? BST_CHECKED : BST_UNCHECKED);
    angleCode = code;
}
