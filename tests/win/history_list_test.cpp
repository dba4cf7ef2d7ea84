// The history list control on a real list view: columns, rows shown from our own block, save.dat
// beside the executable (and its atomic replacement), the open request, and the deletions.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "history/history_commands.h"
#include "history/history_file_format.h"
#include "history/history_list_ctrl.h"
#include "history/history_store.h"

namespace {

std::string Folder() {
    std::string path = HistoryStore::FilePath();
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string ReadAll(const std::string& path) {
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<none>";
    std::string data(::GetFileSize(f, nullptr), '\0');
    DWORD got = 0;
    ::ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    ::CloseHandle(f);
    return data;
}

void WriteAll(const std::string& path, const std::string& data) {
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    ::CloseHandle(f);
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Stands for the view: records the open requests it receives.
class RequestSink : public CWnd {
public:
    struct Request {
        HWND sender;
        DWORD size;
        std::string text;
    };
    std::vector<Request> requests;

protected:
    BOOL OnCopyData(HWND sender, COPYDATASTRUCT* data) {
        requests.push_back({sender, data->cbData, std::string(static_cast<const char*>(data->lpData))});
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RequestSink, CWnd)
    ON_WM_COPYDATA()
END_MESSAGE_MAP()

class HistoryListTest : public testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        ::DeleteFileA(HistoryStore::FilePath().c_str());
        ASSERT_TRUE(pane.CreateEx(0, nullptr, "pane", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 300, nullptr, 0));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 680, 260), &pane, 100));
        list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        list.InsertColumns();
    }
    void TearDown() override {
        list.DestroyWindow();
        pane.DestroyWindow();
    }
    void Select(int row) { list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED); }
    std::vector<int> Selected() {
        std::vector<int> rows;
        for (int r = list.GetNextItem(-1, LVNI_SELECTED); r >= 0; r = list.GetNextItem(r, LVNI_SELECTED))
            rows.push_back(r);
        return rows;
    }
    void AddRows(int count) {
        for (int i = 0; i < count; ++i) list.AddEntry("row" + std::to_string(i), "c:\\h\\row" + std::to_string(i) + ".bmp");
    }

    CWnd pane;
    CHistoryListCtrl list;
    HistoryCommands commands{list, pane};
};

TEST_F(HistoryListTest, ColumnsAndRowsAsTheListViewShowsThem) {
    const char* headings[] = {"Name", "Location", "Time"};
    const int widths[] = {100, 300, 200};
    for (int c = 0; c < 3; ++c) {
        char text[32] = "";
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = sizeof text;
        ASSERT_TRUE(list.SendMessage(LVM_GETCOLUMNA, c, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(text, headings[c]);
        EXPECT_EQ(column.cx, widths[c]);
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
    EXPECT_EQ(list.GetExtendedStyle() & 0x21u, 0x21u);

    list.AddEntry("Kelvane_001.bmp", "c:\\CaptureImage\\Kelvane_001.bmp");
    list.AddEntry("Kelvane_001.bmp", "c:\\CaptureImage\\Kelvane_001.bmp");  // the same file twice: two rows
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetItemText(1, 0), "Kelvane_001.bmp");
    EXPECT_EQ(list.GetItemText(1, 1), "c:\\CaptureImage\\Kelvane_001.bmp");
    // The local time now, as "%Y/%m/%d %H:%M:%S".
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::string time = list.GetItemText(1, 2);
    ASSERT_EQ(time.size(), 19u) << time;
    EXPECT_EQ(time.substr(0, 5), std::to_string(now.wYear) + "/");
    EXPECT_EQ(time[7], '/');
    EXPECT_EQ(time[10], ' ');
    EXPECT_EQ(time[13], ':');

    // Typing a name's first letters finds its row (the list asks us, since we hold the rows).
    list.AddEntry("Shot.gif", "c:\\s\\Shot.gif");
    LVFINDINFOA find{};
    find.flags = LVFI_STRING | LVFI_PARTIAL;
    find.psz = "sho";
    EXPECT_EQ(list.SendMessage(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 2);
}

TEST_F(HistoryListTest, SaveDatBesideTheExecutableRoundTripsAndIsReplacedWhole) {
    const std::string path = HistoryStore::FilePath();
    EXPECT_EQ(path, Folder() + "save.dat");
    list.SaveHistory();
    EXPECT_EQ(ReadAll(path).size(), 8u);  // an empty list

    HistoryRows rows;
    rows.Append("a.bmp", "c:\\a.bmp", "2002/07/15 09:05:03");
    rows.Append("b.gif", "c:\\b.gif", "2002/07/15 09:05:04");
    rows.Append("c.jpg", "c:\\c.jpg", "2002/07/15 09:05:05");
    WriteAll(path, HistoryFile::Encode(rows));
    list.LoadHistory();
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(2, 1), "c:\\c.jpg");
    EXPECT_EQ(list.GetItemText(0, 2), "2002/07/15 09:05:03");

    list.AddEntry("d.bmp", "c:\\d.bmp");
    ASSERT_TRUE(list.SaveHistory());
    const std::string saved = ReadAll(path);
    EXPECT_EQ(saved.size(), 8u + 4 * 410);
    EXPECT_FALSE(Exists(path + ".new"));
    HistoryRows back;
    HistoryFile::Decode(saved.data(), saved.size(), back);
    ASSERT_EQ(back.Count(), 4u);
    EXPECT_EQ(back.Name(3), "d.bmp");
    EXPECT_EQ(back.Time(1), "2002/07/15 09:05:04");

    // A write that cannot happen (here: the temporary name is taken by a folder) leaves the old
    // file exactly as it was.
    ASSERT_TRUE(::CreateDirectoryA((path + ".new").c_str(), nullptr));
    list.AddEntry("e.bmp", "c:\\e.bmp");
    EXPECT_FALSE(list.SaveHistory());
    EXPECT_EQ(ReadAll(path), saved);
    ::RemoveDirectoryA((path + ".new").c_str());

    // Not our file: an empty list, which the next save writes over it.
    WriteAll(path, std::string("\x64\0\0\0\1\0\0\0", 8) + std::string(410, 'x'));
    list.LoadHistory();
    EXPECT_EQ(list.GetItemCount(), 0);
    list.SaveHistory();
    EXPECT_EQ(ReadAll(path).size(), 8u);

    // A count larger than the file: the whole records present.
    std::string truncated = HistoryFile::Encode(rows);
    truncated[4] = 100;
    truncated.resize(8 + 410 * 2 + 100);
    WriteAll(path, truncated);
    list.LoadHistory();
    EXPECT_EQ(list.GetItemCount(), 2);
    ::DeleteFileA(path.c_str());
}

TEST_F(HistoryListTest, OpenRequestCarriesTheFirstSelectedPathIn260Bytes) {
    RequestSink view;
    ASSERT_TRUE(view.CreateEx(0, nullptr, "view", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, 0));
    list.OpenSelectedEntry();  // no target yet
    list.SetTargetView(&view);
    AddRows(3);
    list.OpenSelectedEntry();  // nothing selected
    EXPECT_TRUE(view.requests.empty());

    Select(2);
    Select(1);
    list.OpenSelectedEntry();
    ASSERT_EQ(view.requests.size(), 1u);
    EXPECT_EQ(view.requests[0].sender, list.m_hWnd);
    EXPECT_EQ(view.requests[0].size, 260u);
    EXPECT_EQ(view.requests[0].text, "c:\\h\\row1.bmp");

    // The request holds at most 259 characters of a longer path.
    list.AddEntry("long", "c:\\" + std::string(300, 'p'));
    list.SetItemState(-1, 0, LVIS_SELECTED);
    Select(3);
    list.OpenSelectedEntry();
    ASSERT_EQ(view.requests.size(), 2u);
    EXPECT_EQ(view.requests[1].text, "c:\\" + std::string(256, 'p'));
    view.DestroyWindow();
}

TEST_F(HistoryListTest, DeletingSelectedRowsGoesLowerRowFirstAndKeepsTheOthersInPlace) {
    AddRows(6);
    Select(4);
    Select(1);
    Select(3);
    std::vector<std::string> order;
    commands.RemoveSelectedRows([&](const std::string& path) { order.push_back(path); });
    EXPECT_EQ(order, (std::vector<std::string>{"c:\\h\\row1.bmp", "c:\\h\\row3.bmp", "c:\\h\\row4.bmp"}));
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(0, 0), "row0");
    EXPECT_EQ(list.GetItemText(1, 0), "row2");
    EXPECT_EQ(list.GetItemText(2, 0), "row5");
    EXPECT_TRUE(Selected().empty());

    // A removed row takes its selection with it; those below keep theirs, one place up.
    AddRows(2);  // rows 3 and 4
    Select(1);
    Select(4);
    list.DeleteRow(1);
    EXPECT_EQ(Selected(), std::vector<int>{3});
    EXPECT_EQ(list.GetItemText(3, 0), "row1");

    order.clear();
    commands.RemoveAllRows([&](const std::string& path) { order.push_back(path); });
    EXPECT_EQ(order.size(), 4u);
    EXPECT_EQ(order.front(), "c:\\h\\row1.bmp");  // from the last row to the first
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(HistoryListTest, UnavailableRowsAreThoseWithoutAFileToOpenAlone) {
    const std::string present = Folder() + "present.bmp", held = Folder() + "held.bmp";
    WriteAll(present, "x");
    WriteAll(held, "x");
    list.AddEntry("present.bmp", present);
    list.AddEntry("gone.bmp", Folder() + "gone.bmp");
    list.AddEntry("held.bmp", held);
    list.AddEntry("present.bmp", present);
    // Another program holds this one open: it counts as unavailable.
    HANDLE holder = ::CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    commands.RemoveUnavailableRows();
    ::CloseHandle(holder);
    ASSERT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.Location(0), present);
    EXPECT_EQ(list.Location(1), present);
    EXPECT_TRUE(Exists(held));  // links go, files stay
    ::DeleteFileA(present.c_str());
    ::DeleteFileA(held.c_str());
}

TEST_F(HistoryListTest, AddedLinksAreNamedAfterTheirLastBackslash) {
    commands.AddLinks({"c:\\shots\\one.bmp", "d:\\two.gif", "plain.jpg"});
    ASSERT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(0, 0), "one.bmp");
    EXPECT_EQ(list.GetItemText(1, 0), "two.gif");
    EXPECT_EQ(list.GetItemText(1, 1), "d:\\two.gif");
    EXPECT_EQ(list.GetItemText(2, 0), "plain.jpg");
}

TEST(HistoryStore, AFileOverTheRecordBoundLoadsItsNewestRecords) {
    // One record over the bound, and a count claiming far more: the oldest record is skipped by
    // seeking, the newest is the last row.
    const size_t records = HistoryFile::kMaxRecords + 1;
    HistoryRows written;
    written.Append("oldest", "c:\\0", "t");
    written.Append("second", "c:\\1", "t");
    for (size_t i = 2; i + 1 < records; ++i) written.Append("", "", "");
    written.Append("newest", "c:\\n", "t");
    std::string file = HistoryFile::Encode(written);
    file[4] = file[5] = file[6] = '\xFF';
    file[7] = '\x7F';  // a count of 2147483647
    const std::string path = Folder() + "large_save.dat";
    WriteAll(path, file);
    file.clear();
    file.shrink_to_fit();

    HistoryRows loaded;
    ASSERT_TRUE(HistoryStore::Load(path, loaded));
    ASSERT_EQ(loaded.Count(), HistoryFile::kMaxRecords);
    EXPECT_EQ(loaded.Name(0), "second");
    EXPECT_EQ(loaded.Location(0), "c:\\1");
    EXPECT_EQ(loaded.Name(loaded.Count() - 1), "newest");
    ::DeleteFileA(path.c_str());
}

}  // namespace
