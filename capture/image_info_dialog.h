#pragma once
// The Image Information box shown after a capture: one read-only line with the picture's size.
#include <string>

#include "framework/framework.h"

class CImageInfoDialog : public CDialog {
public:
    CImageInfoDialog(int width, int height, int bitsPerPixel, CWnd* parent = nullptr);
    std::string text;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};
