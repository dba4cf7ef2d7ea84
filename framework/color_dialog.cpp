#include "framework/color_dialog.h"

#include <commdlg.h>

#include "framework/wnd.h"
#include "framework/win_app.h"

namespace {

// The sixteen custom colours live as long as the program, as the dialog's own panel would.
COLORREF g_customColors[16] = {
    0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
    0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};

}  // namespace

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) : m_parent(parent) {
    m_cc.lStructSize = sizeof m_cc;
    m_cc.rgbResult = initial;
    m_cc.Flags = flags | CC_RGBINIT;
    m_cc.lpCustColors = g_customColors;
}

INT_PTR CColorDialog::DoModal() {
    HWND owner = m_parent ? m_parent->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd()) owner = AfxGetMainWnd()->m_hWnd;
    m_cc.hwndOwner = owner;
    return ::ChooseColorA(&m_cc) ? IDOK : IDCANCEL;
}
