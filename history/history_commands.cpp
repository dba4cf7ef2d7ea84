#include "history/history_commands.h"

#include "app/message_caption.h"
#include "framework/multi_file_dialog.h"
#include "history/delete_files_dialog.h"
#include "history/files_out/shell_files.h"
#include "history/history_list_ctrl.h"
#include "history/multi_selection.h"
#include "imagefile/image_open_filter.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(HistoryCommands, CCmdTarget)
    ON_COMMAND(ID_HISTORY_VIEW_FILE, OnViewSelectedFile)
    ON_COMMAND(ID_HISTORY_DELETE_FILES, OnDeleteSelectedFiles)
    ON_COMMAND(ID_HISTORY_DELETE_ALL_FILES, OnDeleteAllFiles)
    ON_COMMAND(ID_HISTORY_DELETE_UNAVAILABLE_LINKS, OnDeleteUnavailableLinks)
    ON_COMMAND(ID_HISTORY_DELETE_LINKS, OnDeleteSelectedLinks)
    ON_COMMAND(ID_HISTORY_ADD_LINKS, OnAddLinks)
    ON_COMMAND(ID_HISTORY_COPY_FILE, OnCopyFile)
    ON_COMMAND(ID_HISTORY_OPEN_FOLDER, OnOpenContainingFolder)
END_MESSAGE_MAP()

namespace {


void DeleteTheFile(const std::string& path) {
    // Whether the file went is not examined: its row goes all the same.
    ::DeleteFileA(path.c_str());
}

// A file another program holds open counts as unavailable too: the test asks for exclusive access.
bool Available(const std::string& path) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

}  // namespace

bool HistoryCommands::Ask(const char* question) {
    CDeleteFilesDlg dialog(&owner);
    dialog.question = question;
    return dialog.DoModal() == IDOK;
}

void HistoryCommands::Tell(const char* text) { ::MessageBoxA(owner.m_hWnd, text, kMessageCaption, MB_OK); }

void HistoryCommands::RemoveSelectedRows(const std::function<void(const std::string& path)>& onRow) {
    for (int row = list.FirstSelectedRow(); row >= 0; row = list.FirstSelectedRow()) {
        if (onRow) onRow(list.Location(row));
        list.DeleteRow(row);
    }
}

void HistoryCommands::RemoveAllRows(const std::function<void(const std::string& path)>& onRow) {
    for (int row = list.RowCount() - 1; row >= 0; --row) {
        if (onRow) onRow(list.Location(row));
        list.DeleteRow(row);
    }
}

void HistoryCommands::RemoveUnavailableRows() {
    for (int row = list.RowCount() - 1; row >= 0; --row)
        if (!Available(list.Location(row))) list.DeleteRow(row);
}

void HistoryCommands::AddLinks(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) list.AddEntry(MultiSelection::LinkName(path), path);
}

void HistoryCommands::OnViewSelectedFile() { list.OpenSelectedEntry(); }

void HistoryCommands::OnDeleteSelectedFiles() {
    if (!Ask("Are you sure to delete the selected file(s)?")) return;
    if (list.FirstSelectedRow() < 0) return Tell("No files have been selected!");
    RemoveSelectedRows(DeleteTheFile);
}

void HistoryCommands::OnDeleteSelectedLinks() {
    if (!Ask("Are you sure to delete the selected link(s)?")) return;
    if (list.FirstSelectedRow() < 0) return Tell("No links have been selected!");
    RemoveSelectedRows(nullptr);
}

void HistoryCommands::OnDeleteAllFiles() {
    if (!Ask("Are you sure to delete all the image file(s)?")) return;
    RemoveAllRows(DeleteTheFile);
}

void HistoryCommands::OnDeleteUnavailableLinks() {
    if (!Ask("Are you sure to delete unvailable link(s)?")) return;
    RemoveUnavailableRows();
}

void HistoryCommands::OnAddLinks() {
    CMultiFileDialog dialog(nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kImageOpenFilter, &owner);
    if (dialog.DoModal() != IDOK) return;
    // Neither the existence nor the kind of the chosen files is tested.
    AddLinks(MultiSelection::Parse(dialog.Selection(), dialog.SelectionSize()));
}

void HistoryCommands::OnCopyFile() {
    std::vector<std::string> selected = list.SelectedLocations();
    if (selected.empty()) return Tell("No files have been selected!");
    std::vector<std::string> files = ShellFiles::Existing(selected);
    if (files.empty()) return Tell("The selected file(s) cannot be found.");
    if (!ShellFiles::CopyToClipboard(owner.m_hWnd, files)) ::MessageBeep(0xFFFFFFFF);  // clipboard busy
}

void HistoryCommands::OnOpenContainingFolder() {
    int row = list.FirstSelectedRow();
    if (row < 0) return Tell("No files have been selected!");
    std::vector<std::string> file = ShellFiles::Existing({list.Location(row)});
    if (file.empty()) return Tell("The selected file(s) cannot be found.");
    if (!ShellFiles::OpenContainingFolder(file.front())) ::MessageBeep(0xFFFFFFFF);
}
