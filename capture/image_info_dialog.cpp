#include "capture/image_info_dialog.h"

#include <cstdio>

#include "res/resource.h"

CImageInfoDialog::CImageInfoDialog(int width, int height, int bitsPerPixel, CWnd* parent)
    : CDialog(IDD_IMAGE_INFO, parent) {
    char line[128];
    std::snprintf(line, sizeof line, "You have Captured a bitmap : %d x %d , %d bits.", width, height,
                  bitsPerPixel);
    text = line;
}

void CImageInfoDialog::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_INFO_TEXT, text);
}
