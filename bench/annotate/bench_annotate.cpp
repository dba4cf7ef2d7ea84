// The drawing tools on a 3840 x 2160 image in a full-screen window: one mouse move of a pen stroke
// (the stroke's new pixels drawn and shown) against a paint of the whole view at the same zoom, and
// committing a mark (it becomes a step of the edit history) against one edit-history copy of the
// image. A Windows program: bench/run_under_wine.py runs it in a private Wine session.
//
// Usage: bench_annotate.exe [ROUNDS]   prints a Markdown table on stdout
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/editor_bench_view.h"
#include "bench/win_clock.h"
#include "editor/annotate/annotate_tools.h"
#include "editor/bitmap_ops.h"
#include "editor/edit_history.h"
#include "editor/editor_host.h"
#include "editor/image_display.h"
#include "editor/image_editor.h"
#include "editor/mouse_tools.h"

namespace {

constexpr int kImageWidth = 3840, kImageHeight = 2160;

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// Median seconds of one call of `work` over `rounds` samples of `repeat` calls, after one warm-up;
// `prepare` runs untimed before each sample.
template <typename Prepare, typename Work>
double Time(HWND window, int rounds, int repeat, Prepare prepare, Work work) {
    std::vector<double> samples;
    prepare();
    work();
    Settle(window);
    for (int r = 0; r < rounds; ++r) {
        prepare();
        Settle(window);
        double start = bench::Now();
        for (int i = 0; i < repeat; ++i) work();
        Settle(window);
        samples.push_back((bench::Now() - start) / repeat);
    }
    return Median(samples);
}

HBITMAP MakeImage(HWND window) {
    CBitmap image = BitmapOps::MakeCompatible(window, kImageWidth, kImageHeight);
    std::vector<uint32_t> rows(static_cast<size_t>(kImageWidth) * kImageHeight);
    for (int y = 0; y < kImageHeight; ++y)
        for (int x = 0; x < kImageWidth; ++x)
            rows[static_cast<size_t>(y) * kImageWidth + x] =
                ((x / 7 * 37) & 0xFF) << 16 | ((y / 5 * 53) & 0xFF) << 8 | (((x ^ y) & 1) ? 0xFF : 0x20);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kImageWidth, -kImageHeight, 1, 32, BI_RGB};
    HDC memory = ::CreateCompatibleDC(nullptr);
    ::SetDIBits(memory, image, 0, kImageHeight, rows.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(memory);
    return static_cast<HBITMAP>(image.Detach());
}

struct Row {
    std::string what;
    double seconds;
    std::string floorName;
    double floor;
    double goal;
};

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
    if (rounds < 1) rounds = 1;
    BenchView view("annotate bench");
    RECT client;
    ::GetClientRect(view.window, &client);

    bool hasImage = true, hasSelection = false;
    int zoomPercent = 100, editMode = EditorState::kEditAnnotate;
    CBitmap imageBitmap, clipboardBitmap;
    DibBlock pendingDib;
    uint32_t background = 0x00804000;
    EditorState state{hasImage, imageBitmap, zoomPercent, editMode, hasSelection, pendingDib, clipboardBitmap,
                      background};
    ImageDisplay display(view, state);
    EditHistory history;
    MouseTools mouse(view, state, display);
    ImageEditor editor(view, state, display, history, mouse);
    AnnotateTools tools(view, state, display, history, editor);
    imageBitmap.Attach(MakeImage(view.window));
    if (!imageBitmap) {
        std::fprintf(stderr, "the 4K image could not be made\n");
        return 2;
    }

    std::vector<Row> rows;
    for (int zoom : {30, 100, 300}) {
        zoomPercent = zoom;
        const CSize size = ImageDisplay::Zoomed(CSize(kImageWidth, kImageHeight), zoom);
        display.displayBitmap.DeleteObject();
        if (zoom < 100) display.displayBitmap = display.MakeReduced(imageBitmap, zoom);
        view.total = size;
        view.scroll = CPoint(std::max(0L, (size.cx - client.right) / 2 + 1),
                             std::max(0L, (size.cy - client.bottom) / 2 + 1));
        editor.StartHistory();
        const double paint = Time(view.window, rounds, 10, [] {}, [&] { display.Paint(); });

        // A pen stroke that wanders over the client area: each move a few window pixels on.
        tools.ChooseTool(Mark::kPen);
        int step = 0;
        auto pointAt = [&](int i) {
            return CPoint(100 + (i * 7) % (client.right - 200), 100 + (i * 3) % (client.bottom - 200));
        };
        const double move = Time(
            view.window, rounds, 20,
            [&] {
                tools.Finish();
                tools.OnLButtonDown(pointAt(step), false);
            },
            [&] { tools.OnMouseMove(pointAt(++step), false); });
        tools.Finish();
        rows.push_back({"Pen mouse move at " + std::to_string(zoom) + " %", move,
                        "PaintImage at " + std::to_string(zoom) + " %", paint, 2});
    }

    // Committing a mark at 100 %: against one copy of the image as the edit history makes it.
    zoomPercent = 100;
    display.displayBitmap.DeleteObject();
    view.total = CSize(kImageWidth, kImageHeight);
    view.scroll = CPoint(1000, 700);
    editor.StartHistory();
    const double copy = Time(view.window, rounds, 1, [] {},
                             [&] { HistoryCopies c = EditHistory::Prepare(imageBitmap, nullptr, 100, view.window); });
    int mark = 0;
    const double commit = Time(
        view.window, rounds, 1,
        [&] {
            ++mark;
            tools.OnLButtonDown(CPoint(200 + mark % 300, 200), false);
            tools.OnMouseMove(CPoint(400 + mark % 300, 260), false);
        },
        [&] { tools.OnLButtonUp(CPoint(400 + mark % 300, 260), false); });
    rows.push_back({"Committing a pen mark (100 %)", commit, "one edit-history copy", copy, 2});
    tools.ChooseTool(Mark::kPixelate);
    const double pixelate = Time(
        view.window, rounds, 1,
        [&] {
            ++mark;
            tools.OnLButtonDown(CPoint(200, 200), false);
            tools.OnMouseMove(CPoint(600, 500), false);
        },
        [&] { tools.OnLButtonUp(CPoint(600, 500), false); });
    rows.push_back({"Committing a 401 x 301 pixelate mark (100 %)", pixelate, "one edit-history copy", copy, 2});

    std::printf("Client area %ldx%ld, image %dx%d, median of %d samples.\n\n", client.right, client.bottom,
                kImageWidth, kImageHeight, rounds);
    std::printf("| operation | ms | against | its ms | ratio | goal | met |\n|---|---|---|---|---|---|---|\n");
    for (const Row& r : rows) {
        const double ratio = r.seconds / r.floor;
        std::printf("| %s | %.3f | %s | %.2f | %.2fx | %.0fx | %s |\n", r.what.c_str(), r.seconds * 1e3,
                    r.floorName.c_str(), r.floor * 1e3, ratio, r.goal, ratio <= r.goal ? "yes" : "**no**");
    }
    return 0;
}
