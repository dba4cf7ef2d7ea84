#pragma once
// The history list: one row per image file saved or added by hand (name, full path, time made),
// oldest first, in the "History" pane of the main frame. A row opens in the view (double-click,
// Enter, History menu), and the rows persist in save.dat.
//
// The rows live in a HistoryRows block and the list view only shows them (LVS_OWNERDATA, the view
// asks for each visible text), so a history of ten thousand rows loads and saves in about the
// time its file takes to read or write.
#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/list_ctrl.h"
#include "history/history_rows.h"

class CHistoryListCtrl : public CListCtrl {
public:
    enum Column { kNameColumn = 0, kLocationColumn = 1, kTimeColumn = 2 };

    // Creates the list view; the rows-live-here style is added to `style`.
    bool Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // "Name" (100 pixels), "Location" (300) and "Time" (200), all left-aligned.
    void InsertColumns();

    // Fills the list from save.dat beside the executable (replacing any rows); an absent or
    // foreign file leaves it empty.
    void LoadHistory();
    // Writes the list to save.dat; false when it could not be written (the old file stays whole).
    bool SaveHistory();
    // Appends a row for `location`, stamped with the local time now.
    void AddEntry(const std::string& name, const std::string& location);
    // The window that receives open requests (the view).
    void SetTargetView(CWnd* view) { targetWindow = view ? view->m_hWnd : nullptr; }
    // Sends the first selected row's path to the target view (WM_COPYDATA, synchronously).
    void OpenSelectedEntry();

    const HistoryRows& Rows() const { return rows; }
    std::string Location(int row) const { return std::string(rows.Location(static_cast<size_t>(row))); }
    int RowCount() const { return static_cast<int>(rows.Count()); }
    // The paths of the selected rows, top to bottom.
    std::vector<std::string> SelectedLocations() const;
    // The first selected row, or -1.
    int FirstSelectedRow() const { return GetNextItem(-1, LVNI_SELECTED); }
    // Removes a row; the rows below it move up, their selection with them.
    void DeleteRow(int row);

protected:
    HistoryRows rows;
    HWND targetWindow = nullptr;

    // The text of one cell.
    std::string_view CellText(int row, int column) const;
    // The History menu (popup 5 of the main menu) at the cursor, for the main window.
    void ShowHistoryMenu();

    afx_msg void OnDblClk(NMHDR* header, LRESULT* result);
    afx_msg void OnRClick(NMHDR* header, LRESULT* result);
    // Selected rows dragged out of the list go as files (to Explorer, mail, chat).
    afx_msg void OnBeginDrag(NMHDR* header, LRESULT* result);
    afx_msg void OnGetDispInfoA(NMHDR* header, LRESULT* result);
    afx_msg void OnGetDispInfoW(NMHDR* header, LRESULT* result);
    afx_msg void OnFindItemA(NMHDR* header, LRESULT* result);
    afx_msg void OnFindItemW(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    // Type-ahead: the row from `start` on (wrapping) whose name begins with `prefix`, or -1.
    int FindRowByName(const std::string& prefix, int start) const;
};
