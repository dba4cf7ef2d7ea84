#include "dialogs/save_page.h"

#include <initializer_list>
#include <string>

#include "imagefile/save_dialogs.h"
#include "res/resource.h"

using SavePageRules::Enable;
using SavePageRules::Enabling;

BEGIN_MESSAGE_MAP(CSavePage, CPropertyPage)
    ON_BN_CLICKED(IDC_EDITPAGE_AUTO_SAVE, OnAutoSave)
    ON_BN_CLICKED(IDC_EDITPAGE_SAVE_AS, OnSaveAs)
    ON_BN_CLICKED(IDC_EDITPAGE_SAVE_TO_FILE, OnSaveToFile)
    ON_BN_CLICKED(IDC_EDITPAGE_SETTING, OnSetting)
    ON_BN_CLICKED(IDC_EDITPAGE_BROWSE, OnBrowse)
    ON_CBN_SELCHANGE(IDC_EDITPAGE_FORMAT, OnFormatChange)
    ON_EN_CHANGE(IDC_EDITPAGE_BASE_NAME, RefreshSample)
    ON_EN_CHANGE(IDC_EDITPAGE_DIRECTORY, RefreshSample)
    ON_EN_CHANGE(IDC_EDITPAGE_START, RefreshSample)
END_MESSAGE_MAP()

CSavePage::CSavePage() : CPropertyPage(IDD_SAVE_PAGE) {}

void CSavePage::DoDataExchange(CDataExchange* dx) {
    DDX_Check(dx, IDC_EDITPAGE_COPY_TO_CLIPBOARD, copyToClipboard);
    DDX_Check(dx, IDC_EDITPAGE_SHOW_EDITOR, showEditor);
    DDX_Check(dx, IDC_EDITPAGE_SAVE_TO_FILE, saveToFile);
    DDX_CBString(dx, IDC_EDITPAGE_FORMAT, formatText);
    DDX_Text(dx, IDC_EDITPAGE_BASE_NAME, baseName);
    DDX_Text(dx, IDC_EDITPAGE_DIRECTORY, saveDirectory);
    DDX_Radio(dx, IDC_EDITPAGE_AUTO_SAVE, autoSaveRadio);
    DDX_Radio(dx, IDC_EDITPAGE_SAVE_AS, saveAsRadio);
    DDX_Text(dx, IDC_EDITPAGE_START, counterText);
}

BOOL CSavePage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    sampleEdit.SubclassDlgItem(IDC_EDITPAGE_SAMPLE, this);
    startLabel.SubclassDlgItem(IDC_EDITPAGE_START_LABEL, this);
    startEdit.SubclassDlgItem(IDC_EDITPAGE_START, this);
    startSpin.SubclassDlgItem(IDC_EDITPAGE_SPIN, this);
    settingButton.SubclassDlgItem(IDC_EDITPAGE_SETTING, this);
    browseButton.SubclassDlgItem(IDC_EDITPAGE_BROWSE, this);
    saveToFileButton.SubclassDlgItem(IDC_EDITPAGE_SAVE_TO_FILE, this);
    directoryEdit.SubclassDlgItem(IDC_EDITPAGE_DIRECTORY, this);
    baseNameEdit.SubclassDlgItem(IDC_EDITPAGE_BASE_NAME, this);
    formatLabel.SubclassDlgItem(IDC_EDITPAGE_FORMAT_LABEL, this);
    baseNameLabel.SubclassDlgItem(IDC_EDITPAGE_BASE_NAME_LABEL, this);
    directoryLabel.SubclassDlgItem(IDC_EDITPAGE_DIRECTORY_LABEL, this);
    savingGroup.SubclassDlgItem(IDC_EDITPAGE_SAVING_GROUP, this);
    formatCombo.SubclassDlgItem(IDC_EDITPAGE_FORMAT, this);
    autoSaveButton.SubclassDlgItem(IDC_EDITPAGE_AUTO_SAVE, this);
    saveAsButton.SubclassDlgItem(IDC_EDITPAGE_SAVE_AS, this);

    // The spin writes its position into the start field as decimal text.
    startSpin.SetBuddy(startEdit.m_hWnd);
    startSpin.SetRange(0, 999);
    startSpin.SetPos(LOWORD(nextNumber));
    if (!SavePageRules::SpinCanShow(nextNumber)) {
        // The spin would show its nearest limit instead, and OK would store that: the field
        // shows the number itself.
        startEdit.SetWindowText(std::to_string(nextNumber).c_str());
    }

    for (const char* format : {"bmp", "jpg", "gif", "png"}) formatCombo.AddString(format);
    formatCombo.SetCurSel(fileFormat);

    Apply(SavePageRules::AtInitialisation(saveToFile != 0, autoSaveRadio == kRadioChecked,
                                          saveAsRadio == kRadioChecked, formatCombo.GetCurSel()));
    RefreshSample();
    return TRUE;
}

void CSavePage::OnOK() {
    char text[5] = "";  // at most four characters
    ::GetDlgItemTextA(m_hWnd, IDC_EDITPAGE_START, text, sizeof text);
    nextNumber = SavePageRules::StartNumberFromText(text);
    fileFormat = formatCombo.GetCurSel();  // -1 with no selection: the settings keep their format
}

void CSavePage::EnableControls(std::initializer_list<int> ids, Enable state) {
    if (state == Enable::kUnchanged) return;
    for (int id : ids) ::EnableWindow(GetDlgItem(id), state == Enable::kOn);
}

void CSavePage::Apply(const Enabling& enabling) {
    EnableControls({IDC_EDITPAGE_AUTO_SAVE, IDC_EDITPAGE_SAVE_AS}, enabling.radios);
    EnableControls({IDC_EDITPAGE_SAVING_GROUP, IDC_EDITPAGE_DIRECTORY_LABEL, IDC_EDITPAGE_BASE_NAME_LABEL,
                    IDC_EDITPAGE_FORMAT_LABEL, IDC_EDITPAGE_BASE_NAME, IDC_EDITPAGE_DIRECTORY,
                    IDC_EDITPAGE_BROWSE, IDC_EDITPAGE_FORMAT},
                   enabling.naming);
    EnableControls({IDC_EDITPAGE_START, IDC_EDITPAGE_START_LABEL, IDC_EDITPAGE_SPIN}, enabling.counter);
    EnableControls({IDC_EDITPAGE_SETTING}, enabling.setting);
}

void CSavePage::OnAutoSave() {
    // Plain radios: the handlers set both check states.
    autoSaveButton.SetCheck(BST_CHECKED);
    saveAsButton.SetCheck(BST_UNCHECKED);
    Apply(SavePageRules::OnAutoSaveClicked(formatCombo.GetCurSel()));
}

void CSavePage::OnSaveAs() {
    saveAsButton.SetCheck(BST_CHECKED);
    autoSaveButton.SetCheck(BST_UNCHECKED);
    Apply(SavePageRules::OnSaveAsClicked());
}

void CSavePage::OnSaveToFile() {
    Apply(SavePageRules::OnSaveToFileClicked(saveToFileButton.GetCheck() == BST_CHECKED,
                                             autoSaveButton.GetCheck() == BST_CHECKED,
                                             formatCombo.GetCurSel()));
}

void CSavePage::OnFormatChange() {
    Apply(SavePageRules::OnFormatChanged(formatCombo.GetCurSel()));
    RefreshSample();
}

void CSavePage::RefreshSample() {
    UpdateData(true);
    std::string sample = SavePageRules::SampleFileName(saveDirectory, baseName, counterText, formatText);
    sampleEdit.SetWindowText(sample.c_str());
}

void CSavePage::OnSetting() {
    CJpegOptionsDlg options(this);
    options.grayscale = jpegGrayscale;
    options.progressive = jpegProgressive;
    options.smoothing = jpegSmoothing;
    options.quality = jpegQuality;
    if (options.DoModal() != IDOK) return;
    jpegGrayscale = options.grayscale != 0;
    jpegProgressive = options.progressive != 0;
    jpegSmoothing = options.smoothing != 0;
    jpegQuality = options.quality;
}

void CSavePage::OnBrowse() {
    std::string folder;
    if (!BrowseForFolder(nullptr, "Choose Folder:", folder)) return;
    SavePageRules::EnsureTrailingBackslash(folder);
    // The edit reports the change, which refreshes the sample.
    directoryEdit.SetWindowText(folder.c_str());
}
