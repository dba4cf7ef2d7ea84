#pragma once
// Modal dialogs from templates, with data exchange between members and controls.
#include <string>

#include "framework/wnd.h"

class CDialog;

// One pass of data exchange: controls -> members (save) or members -> controls.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool save) : m_pDlgWnd(dialog), m_bSaveAndValidate(save) {}
    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
    bool m_failed = false;

    // The control about to be exchanged (remembered so a failure can focus it).
    HWND PrepareCtrl(int id);
    // Marks the exchange failed: the offending control gets the focus, later fields are skipped.
    void Fail();

private:
    HWND m_lastControl = nullptr;
};

void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, std::string& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// The combo box's current text (a drop-down list: the selected item's text, empty without one);
// setting selects the item of that text, or nothing.
void DDX_CBString(CDataExchange* dx, int id, std::string& value);
// `value` is the index of the checked button in the radio group that starts at `id` (-1: none).
void DDX_Radio(CDataExchange* dx, int id, int& value);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    virtual INT_PTR DoModal();
    void EndDialog(int result) { ::EndDialog(m_hWnd, result); }
    // Exchanges all fields; false when a field failed validation (the dialog then stays open).
    // The controls' notifications (EN_CHANGE while texts are set...) are not handled meanwhile.
    bool UpdateData(bool save = true);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

protected:
    virtual void DoDataExchange(CDataExchange* dx) {}
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Binds `dialog` to `hWnd` at WM_INITDIALOG (dialogs, file dialog hooks, property pages).
    static void BindDialog(CDialog* dialog, HWND hWnd) { dialog->Bind(hWnd); }
    // Runs one message through the dialog's maps; returns what a dialog procedure must answer.
    static INT_PTR HandleDialogMessage(CDialog* dialog, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    CWnd* m_pParentWnd;

private:
    bool m_defaultReached = false;  // set when a message fell through to default processing
    bool m_exchanging = false;      // inside UpdateData

    afx_msg void OnOKCommand() { OnOK(); }
    afx_msg void OnCancelCommand() { OnCancel(); }
    DECLARE_MESSAGE_MAP()
};
