#pragma once
// The Exit dialog: asks before the program ends. Cancel is the default button, so Enter keeps
// the program running.
#include "framework/framework.h"

class CExitDlg : public CDialog {
public:
    explicit CExitDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;
};
