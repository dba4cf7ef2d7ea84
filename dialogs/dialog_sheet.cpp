#include "dialogs/dialog_sheet.h"

namespace {

constexpr int kApplyButtonId = 0x3021;

void Relabel(CButton& button, int id, CWnd* sheet, const char* text) {
    // A button the system left out (Apply, without an Apply button) is simply not there.
    if (button.SubclassDlgItem(id, sheet)) button.SetWindowText(text);
}

}  // namespace

BOOL CDialogSheet::OnInitDialog() {
    BOOL result = CPropertySheet::OnInitDialog();
    Relabel(okButton, IDOK, this, "&OK");
    Relabel(cancelButton, IDCANCEL, this, "&Cancel");
    Relabel(helpButton, IDHELP, this, "&Help");
    Relabel(applyButton, kApplyButtonId, this, "&Apply");
    return result;
}
