#include "chrome/about_dialog.h"

#include "chrome/product_addresses.h"
#include "res/resource.h"

CAboutDlg::CAboutDlg(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    webLink.SubclassDlgItem(IDC_ABOUT_WEB, this);
    mailLink.SubclassDlgItem(IDC_ABOUT_MAIL, this);
    productTitle.SubclassDlgItem(IDC_ABOUT_PRODUCT, this);
    versionLine.SubclassDlgItem(IDC_ABOUT_VERSION, this);

    // Each link is labelled with where it leads.
    webLink.SetWindowText(product_addresses::kWebSite);
    mailLink.SetWindowText(product_addresses::kSupportMail);
    webLink.SetLinkColor(kLinkColor);
    webLink.handCursor = TRUE;
    webLink.SetLinkTarget(product_addresses::kWebSite);
    mailLink.SetLinkColor(kLinkColor);
    mailLink.handCursor = TRUE;
    mailLink.SetLinkTarget(product_addresses::kSupportMailLink);

    productTitle.SetOwnFont(-25, FW_BOLD, 0, "MS Sans Serif");
    versionLine.SetOwnFont(-8, FW_BOLD, 0, "MS Sans Serif");
    return TRUE;
}
