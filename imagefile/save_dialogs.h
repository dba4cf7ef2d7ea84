#pragma once
// The Save As dialog with its "Setting" button, and the JPEG Options dialog it opens.
#include "framework/framework.h"
#include "imagefile/jpeg_writer_call.h"

class CJpegOptionsDlg : public CDialog {
public:
    explicit CJpegOptionsDlg(CWnd* parent = nullptr);
    int quality = 75;
    int grayscale = 0;
    int progressive = 0;
    int smoothing = 0;

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    afx_msg void OnTrackbarDraw(NMHDR* header, LRESULT* result);
    afx_msg void OnSpinDelta(NMHDR* header, LRESULT* result);

    CSliderCtrl trackbar;
    CSpinButtonCtrl spin;
    DECLARE_MESSAGE_MAP()
};

class CMyFileDialog : public CFileDialog {
public:
    // The usual file dialog arguments plus the initial file-type index (1 BMP, 2 JPEG, 3 GIF, 4 PNG).
    CMyFileDialog(bool open, const char* defaultExt, const char* fileName, DWORD flags,
                  const char* filter, CWnd* parent, int initialTypeIndex);

    int format = 0;  // the type selected last: 0 BMP, 1 JPEG, 2 GIF, 3 PNG
    int quality = 75;
    BYTE grayscale = 0;
    BYTE smoothing = 0;
    BYTE progressive = 0;

    BOOL OnInitDialog() override;

protected:
    void OnTypeChange() override;
    afx_msg void OnSetting();
    void EnableSetting(bool on);
    DECLARE_MESSAGE_MAP()
};
