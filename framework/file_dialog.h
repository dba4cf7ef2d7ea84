#pragma once
// The system's Open and Save As dialogs, optionally with a child template of our own below the
// standard controls. The template is a dialog of ours (bound like any CDialog) that receives the
// dialog's notifications: type change, file name accepted.
#include <string>

#include <windows.h>
#include <commdlg.h>

#include "framework/dialog.h"

class CFileDialog : public CDialog {
public:
    // `filter` in the "Text|*.ext|Text|*.ext||" form.
    CFileDialog(bool open, const char* defaultExt, const char* fileName, DWORD flags,
                const char* filter, CWnd* parent = nullptr);

    OPENFILENAMEA m_ofn{};
    INT_PTR DoModal() override;

    std::string GetPathName() const { return m_fileBuffer; }
    // The file name without its folder.
    std::string GetFileName() const;
    // The system dialog around our child template.
    HWND SystemDialog() const { return ::GetParent(m_hWnd); }

protected:
    // The user picked another file type (nFilterIndex is already updated).
    virtual void OnTypeChange() {}
    // The user accepted a name; return false to keep the dialog open.
    virtual bool OnFileNameOK() { return true; }
    bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Sets the child template (OFN_ENABLETEMPLATE is added by the caller's flags).
    void SetTemplate(UINT templateId);

private:
    static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool m_open;
    std::string m_defaultExt;
    std::string m_filter;  // with zero separators
    char m_fileBuffer[MAX_PATH * 4] = "";
};
