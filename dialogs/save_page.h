#pragma once
// The "Edit" page of the Configure sheet: what happens after a capture, and how files are saved
// automatically (directory, base name, format with its JPEG options, start number), with a sample
// of the next file name.
#include "dialogs/configure_values.h"
#include "dialogs/save_page_rules.h"
#include "framework/framework.h"

class CSavePage : public CPropertyPage, public SavePageValues {
public:
    CSavePage();

    BOOL OnInitDialog() override;
    // OK: the start number and the format; the other members are current from the last exchange.
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;

    afx_msg void OnAutoSave();
    afx_msg void OnSaveAs();
    afx_msg void OnSaveToFile();
    afx_msg void OnSetting();
    afx_msg void OnBrowse();
    afx_msg void OnFormatChange();
    // Also the texts' EN_CHANGE.
    afx_msg void RefreshSample();

    void Apply(const SavePageRules::Enabling& enabling);
    void EnableControls(std::initializer_list<int> ids, SavePageRules::Enable state);

    CEdit sampleEdit;
    CStatic startLabel;
    CEdit startEdit;
    CSpinButtonCtrl startSpin;
    CButton settingButton, browseButton, saveToFileButton;
    CEdit directoryEdit, baseNameEdit;
    CStatic formatLabel, baseNameLabel, directoryLabel;
    CButton savingGroup;
    CComboBox formatCombo;
    CButton autoSaveButton, saveAsButton;
    DECLARE_MESSAGE_MAP()
};
