#pragma once
// The Rotate dialog: a quarter turn either way or a half turn. Each radio button starts a group of
// its own, so each click unchecks the other two itself.
#include "framework/dialog.h"

class CRotateDialog : public CDialog {
public:
    explicit CRotateDialog(CWnd* parent = nullptr);

    // The rotation code handed to RotateBitmap: "90" sets 270 (a quarter turn counter-clockwise),
    // "180" sets 180, "270" sets 90 (clockwise).
    int angleCode = 270;
    // The button checked when the dialog opens: 1 "90", 2 "180", otherwise "270".
    int initialChoice = 1;

    BOOL OnInitDialog() override;

protected:
    afx_msg void On90();
    afx_msg void On180();
    afx_msg void On270();

private:
    void Choose(int button, int code);
    DECLARE_MESSAGE_MAP()
};
