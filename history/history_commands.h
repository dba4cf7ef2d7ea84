#pragma once
// The History menu's commands (View selected file, Copy file, Open containing folder, the four
// deletions, Add Links). The main frame
// passes these commands on to this object, which works on the frame's history list. Every deletion
// asks its question first; nothing changes unless the answer is OK.
#include <functional>
#include <string>
#include <vector>

#include "framework/framework.h"

class CHistoryListCtrl;

class HistoryCommands : public CCmdTarget {
public:
    // `owner` owns the questions and messages (the main frame).
    HistoryCommands(CHistoryListCtrl& list, CWnd& owner) : list(list), owner(owner) {}

    void OnViewSelectedFile();        // 32824, Enter
    void OnDeleteSelectedFiles();     // 32812, Del
    void OnDeleteAllFiles();          // 32813
    void OnDeleteUnavailableLinks();  // 32814
    void OnDeleteSelectedLinks();     // 32815
    void OnAddLinks();                // 32818
    void OnCopyFile();                // 33280: the selected rows' files onto the clipboard
    void OnOpenContainingFolder();    // 33281: Explorer on the first selected row's file

    // The deletions without their questions, for the commands above and for tests. Each takes
    // rows away and calls `onRow` with each row's path just before its row goes.
    // Selected rows, the first selected first (the lower-numbered row first).
    void RemoveSelectedRows(const std::function<void(const std::string& path)>& onRow);
    // Every row, from the last to the first.
    void RemoveAllRows(const std::function<void(const std::string& path)>& onRow);
    // The rows whose file cannot be opened for exclusive reading, from the last to the first.
    void RemoveUnavailableRows();
    // Adds a row for each path, named by the text after its last backslash.
    void AddLinks(const std::vector<std::string>& paths);

private:
    bool Ask(const char* question);
    void Tell(const char* text);

    CHistoryListCtrl& list;
    CWnd& owner;
    DECLARE_MESSAGE_MAP()
};
