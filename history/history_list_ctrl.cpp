#include "history/history_list_ctrl.h"

#include <cstring>

#include "history/files_out/file_drag_source.h"
#include "history/files_out/shell_files.h"
#include "history/history_store.h"
#include "history/open_request.h"
#include "res/resource.h"

BEGIN_MESSAGE_MAP(CHistoryListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRClick)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, OnBeginDrag)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOA, OnGetDispInfoA)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOW, OnGetDispInfoW)
    ON_NOTIFY_REFLECT(LVN_ODFINDITEMA, OnFindItemA)
    ON_NOTIFY_REFLECT(LVN_ODFINDITEMW, OnFindItemW)
END_MESSAGE_MAP()

namespace {

// Redraws only what changed and keeps the scroll position when the row count changes.
constexpr DWORD kQuietCountChange = LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL;

}  // namespace

bool CHistoryListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CListCtrl::Create(style | LVS_OWNERDATA, rect, parent, id);
}

void CHistoryListCtrl::InsertColumns() {
    InsertColumn(kNameColumn, "Name", LVCFMT_LEFT, 100);
    InsertColumn(kLocationColumn, "Location", LVCFMT_LEFT, 300);
    InsertColumn(kTimeColumn, "Time", LVCFMT_LEFT, 200);
}

void CHistoryListCtrl::LoadHistory() {
    rows.Clear();
    HistoryStore::Load(HistoryStore::FilePath(), rows);
    SetItemCountEx(RowCount());
}

bool CHistoryListCtrl::SaveHistory() { return HistoryStore::Save(HistoryStore::FilePath(), rows); }

void CHistoryListCtrl::AddEntry(const std::string& name, const std::string& location) {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    rows.Append(name, location, FormatHistoryTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond));
    SetItemCountEx(RowCount(), kQuietCountChange);
}

void CHistoryListCtrl::DeleteRow(int row) {
    if (row < 0 || row >= RowCount()) return;
    rows.Remove(static_cast<size_t>(row));
    DeleteItem(row);
}

void CHistoryListCtrl::OpenSelectedEntry() {
    const int row = FirstSelectedRow();
    if (row < 0 || !::IsWindow(targetWindow)) return;
    std::array<char, OpenRequest::kSize> request = OpenRequest::Make(Location(row));
    COPYDATASTRUCT data{};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(request.size());
    data.lpData = request.data();
    ::SendMessageA(targetWindow, WM_COPYDATA, reinterpret_cast<WPARAM>(m_hWnd), reinterpret_cast<LPARAM>(&data));
}

void CHistoryListCtrl::ShowHistoryMenu() {
    const int kHistoryPopup = 5;
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    if (!menu) return;
    CWnd* owner = AfxGetMainWnd();
    HMENU popup = ::GetSubMenu(menu, kHistoryPopup);
    if (popup && owner) {
        POINT at{};
        ::GetCursorPos(&at);
        // The chosen command goes to the main window, as if picked from its own menu.
        ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, owner->m_hWnd, nullptr);
        owner->PostMessage(WM_NULL);
    }
    ::DestroyMenu(menu);
}

std::string_view CHistoryListCtrl::CellText(int row, int column) const {
    if (row < 0 || row >= RowCount()) return {};
    switch (column) {
    case kNameColumn: return rows.Name(static_cast<size_t>(row));
    case kLocationColumn: return rows.Location(static_cast<size_t>(row));
    case kTimeColumn: return rows.Time(static_cast<size_t>(row));
    default: return {};
    }
}

void CHistoryListCtrl::OnDblClk(NMHDR*, LRESULT* result) {
    OpenSelectedEntry();
    *result = 0;
}

void CHistoryListCtrl::OnRClick(NMHDR*, LRESULT* result) {
    ShowHistoryMenu();
    *result = 0;
}

std::vector<std::string> CHistoryListCtrl::SelectedLocations() const {
    std::vector<std::string> paths;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        paths.push_back(Location(row));
    return paths;
}

void CHistoryListCtrl::OnBeginDrag(NMHDR*, LRESULT* result) {
    *result = 0;
    std::vector<std::string> files = ShellFiles::Existing(SelectedLocations());
    if (files.empty()) {
        ::MessageBeep(0xFFFFFFFF);  // rows whose files are gone have nothing to give
        return;
    }
    FileDragSource::DragFiles(files);
}

void CHistoryListCtrl::OnGetDispInfoA(NMHDR* header, LRESULT* result) {
    LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        std::string_view text = CellText(item.iItem, item.iSubItem);
        const size_t length = text.size() < size_t(item.cchTextMax) ? text.size() : size_t(item.cchTextMax) - 1;
        std::memcpy(item.pszText, text.data(), length);
        item.pszText[length] = '\0';
    }
    *result = 0;
}

void CHistoryListCtrl::OnGetDispInfoW(NMHDR* header, LRESULT* result) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        std::string_view text = CellText(item.iItem, item.iSubItem);
        const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), item.pszText,
                                                 item.cchTextMax - 1);
        item.pszText[length > 0 ? length : 0] = L'\0';
    }
    *result = 0;
}

int CHistoryListCtrl::FindRowByName(const std::string& prefix, int start) const {
    const int count = RowCount();
    if (count == 0 || prefix.empty()) return -1;
    if (start < 0 || start >= count) start = 0;
    for (int step = 0; step < count; ++step) {
        const int row = (start + step) % count;
        std::string_view name = rows.Name(static_cast<size_t>(row));
        if (name.size() >= prefix.size() &&
            ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.data(), static_cast<int>(prefix.size()),
                             prefix.data(), static_cast<int>(prefix.size())) == CSTR_EQUAL)
            return row;
    }
    return -1;
}

void CHistoryListCtrl::OnFindItemA(NMHDR* header, LRESULT* result) {
    const auto* find = reinterpret_cast<NMLVFINDITEMA*>(header);
    *result = -1;
    if ((find->lvfi.flags & LVFI_STRING) && find->lvfi.psz) *result = FindRowByName(find->lvfi.psz, find->iStart);
}

void CHistoryListCtrl::OnFindItemW(NMHDR* header, LRESULT* result) {
    const auto* find = reinterpret_cast<NMLVFINDITEMW*>(header);
    *result = -1;
    if (!(find->lvfi.flags & LVFI_STRING) || !find->lvfi.psz) return;
    char prefix[MAX_PATH] = "";
    const int length = ::WideCharToMultiByte(CP_ACP, 0, find->lvfi.psz, -1, prefix, sizeof prefix, nullptr, nullptr);
    if (length > 0) *result = FindRowByName(prefix, find->iStart);
}
