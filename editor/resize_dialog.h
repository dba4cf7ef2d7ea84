#pragma once
// The Resize dialog: the new width and height, optionally keeping the image's ratio, with Reset
// back to the size the image had when the dialog opened.
#include "framework/dialog.h"

class CResizeDialog : public CDialog {
public:
    explicit CResizeDialog(int width, int height, CWnd* parent = nullptr);

    int origWidth = 0, origHeight = 0;  // the image's size when the dialog opened
    int width, height;                  // edits 1022 and 1006
    int keepRatio = 0;                  // check box 1008, unchecked at every opening

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    afx_msg void OnWidthChange() { FollowEdit(true); }
    afx_msg void OnHeightChange() { FollowEdit(false); }
    afx_msg void OnReset();

private:
    // With Keep ratio checked, lets the other field answer an edit until neither changes.
    void FollowEdit(bool widthEdited);
    // Rewrites a field only when its text differs (a rewrite is an edit of that field too).
    void WriteField(int id, int value);
    bool settling = false;  // the fields are being rewritten by FollowEdit or Reset
    DECLARE_MESSAGE_MAP()
};
