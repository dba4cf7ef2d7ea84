#pragma once
// The Configure sheet's frame: a property sheet whose standard buttons carry our own texts.
#include "framework/framework.h"

class CDialogSheet : public CPropertySheet {
public:
    explicit CDialogSheet(const char* caption, CWnd* parent = nullptr, UINT selectPage = 0)
        : CPropertySheet(caption, parent, selectPage) {}

    BOOL OnInitDialog() override;

protected:
    CButton okButton, cancelButton, helpButton, applyButton;
};
