#pragma once
// The About box: product name and version in their own fonts, and the web site and support mail
// address as links.
#include "chrome/static_ex.h"
#include "framework/framework.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* parent = nullptr);
    BOOL OnInitDialog() override;

    static constexpr COLORREF kLinkColor = 0x00FF0000;  // blue

protected:
    CStaticEx webLink;
    CStaticEx mailLink;
    CStaticEx productTitle;
    CStaticEx versionLine;
};
