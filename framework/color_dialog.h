#pragma once
// The colour-choice common dialog.
#include <windows.h>

class CWnd;

class CColorDialog {
public:
    // `initial` is the colour selected when the dialog opens; `flags` are CC_ flags
    // (CC_RGBINIT is added).
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);

    // IDOK when a colour was chosen, IDCANCEL otherwise.
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORA m_cc{};

private:
    CWnd* m_parent;
};
