// The history list with ten thousand rows (a save.dat of 4.1 MB), under Wine: loading it into the
// list at start-up, one AddEntry, and saving it at exit, each against the floor of reading or
// writing the same bytes with one file call.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win_clock.h"
#include "app/atomic_file.h"
#include "framework/framework.h"
#include "history/history_list_ctrl.h"
#include "history/history_store.h"

namespace {

template <typename F>
double MedianMs(int rounds, F&& run) {
    std::vector<double> ms;
    run();  // warm-up
    for (int i = 0; i < rounds; ++i) {
        const double start = bench::Now();
        run();
        ms.push_back((bench::Now() - start) * 1000.0);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

std::string ReadOnce(const std::string& path) {
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    std::string data(::GetFileSize(f, nullptr), '\0');
    DWORD got = 0;
    ::ReadFile(f, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    ::CloseHandle(f);
    return data;
}

void WriteOnce(const std::string& path, const std::string& data) {
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    ::CloseHandle(f);
}

}  // namespace

int main(int argc, char** argv) {
    const int rows = 10000;
    const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 31;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    CWnd pane;
    CHistoryListCtrl list;
    if (!pane.CreateEx(0, nullptr, "History", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 300, nullptr, 0) ||
        !list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 780, 260), &pane, 100)) {
        std::fprintf(stderr, "cannot create the list\n");
        return 2;
    }
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    list.InsertColumns();

    // Ten thousand rows as the automatic saves of a long while make them.
    const std::string path = HistoryStore::FilePath();
    {
        HistoryRows made;
        char name[64], location[160];
        for (int i = 1; i <= rows; ++i) {
            std::snprintf(name, sizeof name, "Kelvane_%05d.bmp", i);
            std::snprintf(location, sizeof location, "C:\\Documents and Settings\\Owner\\My Pictures\\Captures\\%s", name);
            made.Append(name, location, "2026/12/08 13:45:07");
        }
        if (!HistoryStore::Save(path, made)) return 2;
    }
    const std::string bytes = ReadOnce(path);
    const std::string floorPath = path + ".floor";

    const double readFloor = MedianMs(rounds, [&] { ReadOnce(path); });
    // At start-up a new list, in the hidden frame, loads once: a fresh list each round, nothing
    // drawn while the rows arrive.
    pane.ShowWindow(SW_HIDE);
    std::vector<double> startUp;
    for (int i = 0; i <= rounds; ++i) {
        CHistoryListCtrl fresh;
        fresh.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 780, 260), &pane, 101);
        fresh.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        fresh.InsertColumns();
        const double start = bench::Now();
        fresh.LoadHistory();
        if (i > 0) startUp.push_back((bench::Now() - start) * 1000.0);  // the first round warms up
        fresh.DestroyWindow();
    }
    std::sort(startUp.begin(), startUp.end());
    const double loadAtStart = startUp[startUp.size() / 2];
    const double reload = MedianMs(rounds, [&] { list.LoadHistory(); });
    pane.ShowWindow(SW_SHOW);
    const double loadShown = MedianMs(rounds, [&] {
        list.LoadHistory();
        list.UpdateWindow();  // paints the rows in view, the only ones the list asks for
    });
    if (list.GetItemCount() != rows) return 2;

    // AddEntry on the full list and on a short one, shown and hidden (the row is taken away again
    // outside the timing): the same cost whatever the list holds.
    auto addMs = [&](bool shown) {
        pane.ShowWindow(shown ? SW_SHOW : SW_HIDE);
        std::vector<double> ms;
        const int count = list.GetItemCount();
        for (int i = 0; i < rounds * 20; ++i) {
            const double start = bench::Now();
            list.AddEntry("Kelvane_10001.bmp", "C:\\Documents and Settings\\Owner\\My Pictures\\Captures\\Kelvane_10001.bmp");
            ms.push_back((bench::Now() - start) * 1000.0);
            list.UpdateWindow();
            list.DeleteRow(count);
            list.UpdateWindow();
        }
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    };
    const double addFullShown = addMs(true), addFullHidden = addMs(false);

    const double writeFloor = MedianMs(rounds, [&] { WriteOnce(floorPath, bytes); });
    const double atomicFloor = MedianMs(rounds, [&] { AtomicFile::Replace(floorPath, bytes.data(), bytes.size()); });
    const double save = MedianMs(rounds, [&] { list.SaveHistory(); });
    if (ReadOnce(path) != bytes) {
        std::fprintf(stderr, "the saved file differs from the loaded one\n");
        return 2;
    }

    HistoryRows shortList;
    for (int i = 0; i < 100; ++i) shortList.Append("Kelvane_001.bmp", "C:\\Captures\\Kelvane_001.bmp", "2026/12/08 13:45:07");
    HistoryStore::Save(path, shortList);
    list.LoadHistory();
    const double addShortShown = addMs(true), addShortHidden = addMs(false);
    ::DeleteFileA(floorPath.c_str());
    ::DeleteFileA(path.c_str());

    std::printf("save.dat: %d rows, %zu bytes; medians of %d rounds (AddEntry: of %d calls)\n\n", rows, bytes.size(),
                rounds, rounds * 20);
    std::printf("| step | ms | floor | floor ms | ratio |\n|---|---|---|---|---|\n");
    std::printf("| LoadHistory at start-up (a new list, hidden) | %.2f | one ReadFile of the file | %.2f | %.2fx |\n",
                loadAtStart, readFloor, loadAtStart / readFloor);
    std::printf("| LoadHistory again into the same hidden list | %.2f | one ReadFile of the file | %.2f | %.2fx |\n", reload,
                readFloor, reload / readFloor);
    std::printf("| LoadHistory into the shown list, and its paint | %.2f | one ReadFile of the file | %.2f | %.2fx |\n",
                loadShown, readFloor, loadShown / readFloor);
    std::printf("| SaveHistory at exit (encode, write beside, flush, move over) | %.2f | one WriteFile of the bytes | %.2f | %.2fx |\n",
                save, writeFloor, save / writeFloor);
    std::printf("| SaveHistory | %.2f | the same bytes replaced atomically | %.2f | %.2fx |\n", save, atomicFloor,
                save / atomicFloor);
    std::printf("| AddEntry on %d rows, list hidden | %.3f | AddEntry on 100 rows, hidden | %.3f | %.2fx |\n", rows,
                addFullHidden, addShortHidden, addFullHidden / addShortHidden);
    std::printf("| AddEntry on %d rows, list shown | %.3f | AddEntry on 100 rows, shown | %.3f | %.2fx |\n", rows,
                addFullShown, addShortShown, addFullShown / addShortShown);
    list.DestroyWindow();
    pane.DestroyWindow();
    return 0;
}
