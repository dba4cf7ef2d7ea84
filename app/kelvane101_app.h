#pragma once
// The application object: builds the document template, lets it create the document, the main
// frame and the view, and keeps the frame hidden.
#include "framework/framework.h"

class CKelvane101App : public CWinApp {
public:
    bool InitInstance() override;

protected:
    afx_msg void OnAppAbout();
    DECLARE_MESSAGE_MAP()
};
