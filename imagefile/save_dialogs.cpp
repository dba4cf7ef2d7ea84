#include "imagefile/save_dialogs.h"

#include <dlgs.h>

#include <cstdlib>

#include "res/resource.h"

// ---- JPEG Options ----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CJpegOptionsDlg, CDialog)
    ON_NOTIFY(NM_CUSTOMDRAW, IDC_JPEG_QUALITY_TRACKBAR, OnTrackbarDraw)
    ON_NOTIFY(UDN_DELTAPOS, IDC_JPEG_QUALITY_SPIN, OnSpinDelta)
END_MESSAGE_MAP()

CJpegOptionsDlg::CJpegOptionsDlg(CWnd* parent) : CDialog(IDD_JPEG_OPTIONS, parent) {}

void CJpegOptionsDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Check(dx, IDC_JPEG_GRAY, grayscale);
    DDX_Check(dx, IDC_JPEG_PROGRESSIVE, progressive);
    DDX_Check(dx, IDC_JPEG_SMOOTHING, smoothing);
}

BOOL CJpegOptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    trackbar.SubclassDlgItem(IDC_JPEG_QUALITY_TRACKBAR, this);
    spin.SubclassDlgItem(IDC_JPEG_QUALITY_SPIN, this);
    trackbar.SetRange(0, 100, false);
    trackbar.SetPos(quality);
    for (int tick = 10; tick <= 90; tick += 10) trackbar.SetTic(tick);
    spin.SetBuddy(GetDlgItem(IDC_JPEG_QUALITY_EDIT));
    spin.SetRange(0, 100);
    spin.SetPos(quality);
    return TRUE;
}

void CJpegOptionsDlg::OnTrackbarDraw(NMHDR*, LRESULT* result) {
    // The trackbar redraws whenever it moves: the number follows it.
    if (spin.m_hWnd) spin.SetPos(LOWORD(trackbar.GetPos()));
    *result = 0;
}

void CJpegOptionsDlg::OnSpinDelta(NMHDR*, LRESULT* result) {
    if (trackbar.m_hWnd) trackbar.SetPos(spin.GetPos());
    *result = 0;
}

void CJpegOptionsDlg::OnOK() {
    UpdateData(true);
    char text[5] = "";  // at most four characters are read
    ::GetDlgItemTextA(m_hWnd, IDC_JPEG_QUALITY_EDIT, text, sizeof text);
    int value = atoi(text);
    quality = value > 100 ? 100 : value < 0 ? 0 : value;
    EndDialog(IDOK);
}

// ---- Save As ---------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CMyFileDialog, CFileDialog)
    ON_BN_CLICKED(IDC_SAVE_SETTING, OnSetting)
END_MESSAGE_MAP()

CMyFileDialog::CMyFileDialog(bool open, const char* defaultExt, const char* fileName, DWORD flags,
                             const char* filter, CWnd* parent, int initialTypeIndex)
    : CFileDialog(open, defaultExt, fileName, flags | OFN_ENABLETEMPLATE, filter, parent) {
    SetTemplate(IDD_SAVE_TEMPLATE);
    m_ofn.nFilterIndex = initialTypeIndex;
}

void CMyFileDialog::EnableSetting(bool on) { ::EnableWindow(GetDlgItem(IDC_SAVE_SETTING), on); }

BOOL CMyFileDialog::OnInitDialog() {
    CFileDialog::OnInitDialog();
    if (format == 0 || format == 2 || format == 3) EnableSetting(false);
    return TRUE;
}

void CMyFileDialog::OnTypeChange() {
    HWND types = ::GetDlgItem(SystemDialog(), cmb1);
    int sel = static_cast<int>(::SendMessageA(types, CB_GETCURSEL, 0, 0));
    if (sel == 0 || sel == 2 || sel == 3) EnableSetting(false);
    else if (sel == 1) EnableSetting(true);
    format = sel;
}

void CMyFileDialog::OnSetting() {
    CJpegOptionsDlg options(this);
    options.quality = quality;
    options.grayscale = grayscale;
    options.progressive = progressive;
    options.smoothing = smoothing;
    if (options.DoModal() != IDOK) return;
    quality = options.quality;
    grayscale = options.grayscale != 0;
    progressive = options.progressive != 0;
    smoothing = options.smoothing != 0;
}
