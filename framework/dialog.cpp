#include "framework/dialog.h"

#include <cstdio>

#include "framework/text_conversions.h"
#include "framework/win_app.h"

// ---- data exchange -----------------------------------------------------------------------------

HWND CDataExchange::PrepareCtrl(int id) {
    m_lastControl = m_pDlgWnd->GetDlgItem(id);
    return m_lastControl;
}

void CDataExchange::Fail() {
    m_failed = true;
    if (m_lastControl) {
        ::SetFocus(m_lastControl);
        ::SendMessageA(m_lastControl, EM_SETSEL, 0, -1);
    }
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    if (dx->m_failed) return;
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        char text[64] = "";
        ::GetWindowTextA(control, text, sizeof text);
        if (!TextConversions::ParseInt(text, value)) {
            AfxMessageBox("Please enter an integer.", MB_ICONEXCLAMATION);
            dx->Fail();  // the member keeps its previous value
        }
    } else {
        char text[16];
        std::snprintf(text, sizeof text, "%d", value);
        ::SetWindowTextA(control, text);
    }
}

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    if (dx->m_failed) return;
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        int length = ::GetWindowTextLengthA(control);
        std::string text(length + 1, '\0');
        text.resize(::GetWindowTextA(control, text.data(), length + 1));
        value = text;
    } else {
        ::SetWindowTextA(control, value.c_str());
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    if (dx->m_failed) return;
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    else ::SendMessageA(control, BM_SETCHECK, value, 0);
}

void DDX_CBString(CDataExchange* dx, int id, std::string& value) {
    if (dx->m_failed) return;
    HWND control = dx->PrepareCtrl(id);
    bool dropList = (::GetWindowLongPtrA(control, GWL_STYLE) & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST;
    if (dx->m_bSaveAndValidate) {
        if (!dropList) {
            int length = ::GetWindowTextLengthA(control);
            std::string text(length + 1, '\0');
            text.resize(::GetWindowTextA(control, text.data(), length + 1));
            value = text;
            return;
        }
        value.clear();
        LRESULT index = ::SendMessageA(control, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) return;
        LRESULT length = ::SendMessageA(control, CB_GETLBTEXTLEN, index, 0);
        if (length == CB_ERR) return;
        std::string text(static_cast<size_t>(length) + 1, '\0');
        ::SendMessageA(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        value = text;
    } else {
        LRESULT index = ::SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(value.c_str()));
        ::SendMessageA(control, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : index, 0);
        if (!dropList && index == CB_ERR) ::SetWindowTextA(control, value.c_str());
    }
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
    if (dx->m_failed) return;
    HWND first = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) value = -1;
    int index = 0;
    for (HWND h = first; h; h = ::GetWindow(h, GW_HWNDNEXT), ++index) {
        if (h != first && (::GetWindowLongA(h, GWL_STYLE) & WS_GROUP)) break;
        UINT kind = ::SendMessageA(h, WM_GETDLGCODE, 0, 0);
        if (!(kind & DLGC_RADIOBUTTON)) continue;
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageA(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

// ---- dialogs ---------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOKCommand)
    ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

INT_PTR CDialog::DoModal() {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner && AfxGetMainWnd()) owner = AfxGetMainWnd()->m_hWnd;
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_templateId), owner,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

bool CDialog::UpdateData(bool save) {
    bool wasExchanging = m_exchanging;
    m_exchanging = true;
    CDataExchange dx(this, save);
    DoDataExchange(&dx);
    m_exchanging = wasExchanging;
    return !dx.m_failed;
}

bool CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    // A control that reports its own change while the exchange sets it must not start a handler
    // that reads the half-exchanged controls back.
    if (m_exchanging && lParam) return true;
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

LRESULT CDialog::DefWindowProc(UINT, WPARAM, LPARAM) {
    // The dialog manager does the default work once the dialog procedure answers FALSE.
    m_defaultReached = true;
    return 0;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = static_cast<CDialog*>(FromHandlePermanent(hWnd));
    if (!dialog && message == WM_INITDIALOG) {
        dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->Bind(hWnd);
    }
    if (!dialog) return FALSE;
    return HandleDialogMessage(dialog, hWnd, message, wParam, lParam);
}

INT_PTR CDialog::HandleDialogMessage(CDialog* dialog, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return dialog->OnInitDialog();

    bool saved = dialog->m_defaultReached;
    dialog->m_defaultReached = false;
    LRESULT result = dialog->Dispatch(message, wParam, lParam);
    bool handled = !dialog->m_defaultReached;
    dialog->m_defaultReached = saved;
    if (!handled) return FALSE;
    switch (message) {
    // These answer through the procedure's own return value.
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_COMPAREITEM:
    case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}
