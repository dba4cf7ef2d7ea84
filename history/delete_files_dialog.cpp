#include "history/delete_files_dialog.h"

#include "res/resource.h"

CDeleteFilesDlg::CDeleteFilesDlg(CWnd* parent) : CDialog(IDD_DELETE_FILES, parent) {}

void CDeleteFilesDlg::DoDataExchange(CDataExchange* dx) { DDX_Text(dx, IDC_DELETE_QUESTION, question); }
