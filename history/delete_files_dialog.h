#pragma once
// "Delete files": asks the question of a History-menu deletion, with OK and Cancel.
#include <string>

#include "framework/framework.h"

class CDeleteFilesDlg : public CDialog {
public:
    explicit CDeleteFilesDlg(CWnd* parent = nullptr);

    std::string question;  // replaces the template's own text

protected:
    void DoDataExchange(CDataExchange* dx) override;
};
