#include "editor/resize_dialog.h"

#include <cstdio>
#include <string>

#include "app/message_caption.h"
#include "editor/resize_rules.h"
#include "framework/text_conversions.h"
#include "res/resource.h"

namespace {


bool ReadField(HWND dialog, int id, int& value) {
    char text[64] = "";
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return TextConversions::ParseInt(text, value);
}

}  // namespace

BEGIN_MESSAGE_MAP(CResizeDialog, CDialog)
    ON_EN_CHANGE(IDC_RESIZE_WIDTH, OnWidthChange)
    ON_EN_CHANGE(IDC_RESIZE_HEIGHT, OnHeightChange)
    ON_BN_CLICKED(IDC_RESIZE_RESET, OnReset)
END_MESSAGE_MAP()

CResizeDialog::CResizeDialog(int width, int height, CWnd* parent)
    : CDialog(IDD_RESIZE, parent), width(width), height(height) {}

void CResizeDialog::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_RESIZE_WIDTH, width);
    DDX_Text(dx, IDC_RESIZE_HEIGHT, height);
    DDX_Check(dx, IDC_RESIZE_KEEP_RATIO, keepRatio);
}

BOOL CResizeDialog::OnInitDialog() {
    origWidth = width;
    origHeight = height;
    keepRatio = 0;
    settling = true;  // filling the fields is no edit
    BOOL result = CDialog::OnInitDialog();
    settling = false;
    return result;
}

void CResizeDialog::WriteField(int id, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    char current[64] = "";
    ::GetDlgItemTextA(m_hWnd, id, current, sizeof current);
    if (std::string(current) != text) ::SetDlgItemTextA(m_hWnd, id, text);
}

void CResizeDialog::FollowEdit(bool widthEdited) {
    if (settling || ::IsDlgButtonChecked(m_hWnd, IDC_RESIZE_KEEP_RATIO) != BST_CHECKED) return;
    int typedWidth = 0, typedHeight = 0;
    // A field that does not read as a number yet (being typed, or empty) is answered later.
    if (!ReadField(m_hWnd, IDC_RESIZE_WIDTH, typedWidth) || !ReadField(m_hWnd, IDC_RESIZE_HEIGHT, typedHeight))
        return;
    ResizeRules::Size settled =
        ResizeRules::Settle({typedWidth, typedHeight}, widthEdited, origWidth, origHeight);
    settling = true;
    WriteField(IDC_RESIZE_WIDTH, settled.width);
    WriteField(IDC_RESIZE_HEIGHT, settled.height);
    settling = false;
}

void CResizeDialog::OnReset() {
    width = origWidth;
    height = origHeight;
    settling = true;
    WriteField(IDC_RESIZE_WIDTH, width);
    WriteField(IDC_RESIZE_HEIGHT, height);
    settling = false;
}

void CResizeDialog::OnOK() {
    if (!UpdateData(true)) return;
    switch (ResizeRules::Check(width, height)) {
    case ResizeRules::Verdict::kNotPositive:
        MessageBox("Neither number must be big than zero.", kMessageCaption, MB_OK);
        return;
    case ResizeRules::Verdict::kTooBig:
        MessageBox("Too big Bitmap!", kMessageCaption, MB_OK);
        return;
    case ResizeRules::Verdict::kAccepted:
        EndDialog(IDOK);
        return;
    }
}
