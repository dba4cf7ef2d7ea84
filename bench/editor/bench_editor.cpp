// The editor's paint and transforms on a 3840 x 2160 image, each against its floor: one BitBlt of
// the whole client area for a paint, one GetDIBits + SetDIBits round trip of the image for a
// rotation. A Windows program: bench/run_under_wine.py runs it in a private Wine session.
//
// Usage: bench_editor.exe [ROUNDS]   prints a Markdown table on stdout
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/editor_bench_view.h"
#include "bench/win_clock.h"
#include "editor/bitmap_ops.h"
#include "editor/edit_history.h"
#include "editor/editor_host.h"
#include "editor/image_display.h"
#include "editor/mouse_tools.h"
#include "editor/rotate_bitmap.h"

namespace {

constexpr int kImageWidth = 3840, kImageHeight = 2160;

// Median seconds of one call of `work`, each sample `repeat` calls long.
template <typename Work>
double Time(HWND window, int rounds, int repeat, Work work) {
    std::vector<double> samples;
    work();  // warm-up
    Settle(window);
    for (int r = 0; r < rounds; ++r) {
        double start = bench::Now();
        for (int i = 0; i < repeat; ++i) work();
        Settle(window);
        samples.push_back((bench::Now() - start) / repeat);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

// A picture with detail everywhere: bands of colour and a fine checker.
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

// Pixels of a bitmap as 32-bit rows, top first.
std::vector<uint32_t> PixelsOf(HBITMAP bitmap, int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    HDC memory = ::CreateCompatibleDC(nullptr);
    ::GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(memory);
    return pixels;
}

// How far a reduced copy is from the exact area average, computed here in real numbers (each
// target pixel's square laid over the source grid): the largest and the mean difference per
// channel, over every tenth row.
struct Quality {
    double worst, mean;
};
Quality CompareWithExactAverage(const std::vector<uint32_t>& source, HBITMAP reduced, int width, int height) {
    const std::vector<uint32_t> got = PixelsOf(reduced, width, height);
    const double sx = double(kImageWidth) / width, sy = double(kImageHeight) / height;
    double worst = 0, sum = 0;
    long count = 0;
    for (int ty = 0; ty < height; ty += 10)
        for (int tx = 0; tx < width; ++tx) {
            const double x0 = tx * sx, x1 = (tx + 1) * sx, y0 = ty * sy, y1 = (ty + 1) * sy;
            double exact[3] = {0, 0, 0};
            for (int y = int(y0); y < y1 && y < kImageHeight; ++y)
                for (int x = int(x0); x < x1 && x < kImageWidth; ++x) {
                    const double cover = (std::min(x1, x + 1.0) - std::max(x0, double(x))) *
                                         (std::min(y1, y + 1.0) - std::max(y0, double(y)));
                    const uint32_t p = source[static_cast<size_t>(y) * kImageWidth + x];
                    for (int c = 0; c < 3; ++c) exact[c] += cover * ((p >> (8 * c)) & 0xFF);
                }
            const uint32_t q = got[static_cast<size_t>(ty) * width + tx];
            for (int c = 0; c < 3; ++c) {
                const double d = std::fabs(exact[c] / (sx * sy) - double((q >> (8 * c)) & 0xFF));
                worst = std::max(worst, d);
                sum += d;
                ++count;
            }
        }
    return {worst, sum / double(count)};
}

struct Row {
    std::string what;
    double seconds;
    double floor;
    double goal;  // at most this many floors
};

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 9;
    if (rounds < 1) rounds = 1;
    BenchView view("editor bench");
    RECT client;
    ::GetClientRect(view.window, &client);

    bool hasImage = true, hasSelection = false;
    int zoomPercent = 100, editMode = 2;
    CBitmap imageBitmap, clipboardBitmap;
    DibBlock pendingDib;
    uint32_t background = 0x00804000;
    EditorState state{hasImage, imageBitmap, zoomPercent, editMode, hasSelection, pendingDib, clipboardBitmap,
                      background};
    ImageDisplay display(view, state);
    MouseTools tools(view, state, display);
    imageBitmap.Attach(MakeImage(view.window));
    if (!imageBitmap) {
        std::fprintf(stderr, "the 4K image could not be made\n");
        return 2;
    }

    // The floor of any paint: one blit of the client area from a memory bitmap.
    CBitmap frame = BitmapOps::MakeCompatible(view.window, client.right, client.bottom);
    HDC memory = ::CreateCompatibleDC(nullptr);
    ::SelectObject(memory, frame.GetSafeHandle());
    double blit = Time(view.window, rounds, 20, [&] {
        HDC dc = ::GetDC(view.window);
        ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
        ::ReleaseDC(view.window, dc);
    });
    ::DeleteDC(memory);

    std::vector<Row> rows;
    for (int zoom : {10, 50, 100, 300, 600}) {
        zoomPercent = zoom;
        CSize size = ImageDisplay::Zoomed(CSize(kImageWidth, kImageHeight), zoom);
        display.displayBitmap.DeleteObject();
        if (zoom < 100) display.displayBitmap = display.MakeReduced(imageBitmap, zoom);
        view.total = size;
        // Scrolled into the middle where the image is larger than the window.
        view.scroll = CPoint(std::max(0L, (size.cx - client.right) / 2 + 1), std::max(0L, (size.cy - client.bottom) / 2 + 1));
        double paint = Time(view.window, rounds, 10, [&] { display.Paint(); });
        rows.push_back({"PaintImage at " + std::to_string(zoom) + " %", paint, blit, 3});
    }

    // Dragging a selection: a full paint and the frame with its handles, per mouse move.
    zoomPercent = 100;
    display.displayBitmap.DeleteObject();
    view.total = CSize(kImageWidth, kImageHeight);
    view.scroll = CPoint(1000, 700);
    hasSelection = true;
    tools.selection = {1100, 800, 1500, 1100};
    double drag = Time(view.window, rounds, 10, [&] {
        tools.selection.right += 1;
        display.Paint();
        tools.DrawOutline();
    });
    rows.push_back({"PaintImage while dragging the selection (100 %)", drag, blit, 3});

    // A zoom step below 100 %: one new reduced copy.
    double reduce = Time(view.window, rounds, 1, [&] { CBitmap r = display.MakeReduced(imageBitmap, 90); });
    rows.push_back({"Zoom step to 90 % (RebuildDisplayBitmap)", reduce, blit, 10});

    // Reductions against one read of the image's pixels (a memcpy of its 32-bit rows), and the
    // old way (DrawDib keeping or dropping whole pixels) beside them.
    const std::vector<uint32_t> sourcePixels = PixelsOf(imageBitmap, kImageWidth, kImageHeight);
    std::vector<uint32_t> copy(sourcePixels.size());
    double read = Time(view.window, rounds, 1, [&] {
        std::memcpy(copy.data(), sourcePixels.data(), sourcePixels.size() * sizeof(uint32_t));
    });
    // What the reduction's own reading costs: the image's rows fetched as 32-bit pixels, 12 rows
    // a GetDIBits call, as ImageScaler::Reduce reads them.
    {
        constexpr int kBand = 12;
        std::vector<uint32_t> band(static_cast<size_t>(kImageWidth) * kBand);
        BITMAPINFO bandInfo{};
        double bands = Time(view.window, rounds, 1, [&] {
            HDC screen = ::GetDC(nullptr);
            for (int top = 0; top < kImageHeight; top += kBand) {
                const int n = std::min(kBand, kImageHeight - top);
                bandInfo.bmiHeader = {sizeof(BITMAPINFOHEADER), kImageWidth, kImageHeight, 1, 32, BI_RGB};
                ::GetDIBits(screen, imageBitmap, kImageHeight - top - n, n, band.data(), &bandInfo, DIB_RGB_COLORS);
            }
            ::ReleaseDC(nullptr, screen);
        });
        rows.push_back({"Reading the image in bands of 12 rows (GetDIBits), part of each step below", bands, read, 3});
    }
    // The other part no reduction avoids: a new DIB section of the reduced size, its fresh pages
    // written once (each page's first touch is a page fault, costly in this virtual machine).
    for (int divisor : {2, 3}) {
        const int w = kImageWidth / divisor, h = kImageHeight / divisor;
        double fresh = Time(view.window, rounds, 1, [&] {
            BITMAPINFO info{};
            info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
            void* bits = nullptr;
            HBITMAP made = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (bits) std::memset(bits, 0x55, static_cast<size_t>(w) * h * 4);
            ::DeleteObject(made);
        });
        rows.push_back({"A new " + std::to_string(w) + "x" + std::to_string(h) +
                            " DIB section made and filled once, part of the step to " +
                            (divisor == 2 ? "50 %" : "33 %"), fresh, read, 3});
    }
    std::vector<std::string> qualityLines;
    for (int percent : {50, 33}) {
        const int divisor = percent == 50 ? 2 : 3;  // "33 %" is an exact third: 1280 x 720
        const int w = kImageWidth / divisor, h = kImageHeight / divisor;
        double ours = Time(view.window, rounds, 1, [&] { CBitmap r = display.scaler.Reduce(imageBitmap, view.window, w, h); });
        double old = Time(view.window, rounds, 1, [&] { CBitmap r = display.scaler.Scale(imageBitmap, view.window, w, h); });
        rows.push_back({"Zoom step to " + std::to_string(percent) + " % (area average, " + std::to_string(w) + "x" +
                            std::to_string(h) + ")", ours, read, 3});
        rows.push_back({"Zoom step to " + std::to_string(percent) + " %, the old way (DrawDib)", old, read, 3});
        // The same reduction again while the copy shown before the present one is the spare, as
        // when a drawing is committed at that zoom or the view steps back to it.
        CBitmap shown;
        double again = Time(view.window, rounds, 1, [&] {
            CBitmap next = display.scaler.Reduce(imageBitmap, view.window, w, h);
            display.scaler.KeepSpare(std::move(shown));
            shown = std::move(next);
        });
        shown.DeleteObject();
        rows.push_back({"Reduced again at " + std::to_string(percent) + " %, written into the spare copy", again, read, 3});
        CBitmap averaged = display.scaler.Reduce(imageBitmap, view.window, w, h);
        CBitmap dropped = display.scaler.Scale(imageBitmap, view.window, w, h);
        const Quality a = CompareWithExactAverage(sourcePixels, averaged, w, h);
        const Quality b = CompareWithExactAverage(sourcePixels, dropped, w, h);
        char line[200];
        std::snprintf(line, sizeof line, "| %d %% | %.2f | %.3f | %.2f | %.3f |", percent, a.worst, a.mean, b.worst,
                      b.mean);
        qualityLines.push_back(line);
    }

    // The other whole ratios among the zoom levels (a fifth and a tenth of the image), and 30 %,
    // which is none and takes the weighted steps.
    for (int zoom : {20, 10, 30}) {
        CSize size = ImageDisplay::Zoomed(CSize(kImageWidth, kImageHeight), zoom);
        double step = Time(view.window, rounds, 1, [&] { CBitmap r = display.MakeReduced(imageBitmap, zoom); });
        rows.push_back({"Zoom step to " + std::to_string(zoom) + " % (area average, " + std::to_string(size.cx) + "x" +
                            std::to_string(size.cy) + ")", step, read, 3});
    }

    // A rotation against one round trip of the image through 24-bit DIB rows.
    std::vector<uint8_t> dib(static_cast<size_t>((kImageWidth * 3 + 3) / 4 * 4) * kImageHeight);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kImageWidth, kImageHeight, 1, 24, BI_RGB};
    CBitmap target = BitmapOps::MakeCompatible(view.window, kImageWidth, kImageHeight);
    double roundTrip = Time(view.window, rounds, 1, [&] {
        HDC dc = ::CreateCompatibleDC(nullptr);
        ::GetDIBits(dc, imageBitmap, 0, kImageHeight, dib.data(), &info, DIB_RGB_COLORS);
        ::SetDIBits(dc, target, 0, kImageHeight, dib.data(), &info, DIB_RGB_COLORS);
        ::DeleteDC(dc);
    });
    for (int code : {90, 180}) {
        double rotate = Time(view.window, rounds, 1, [&] { ::DeleteObject(RotateBitmap(imageBitmap, code)); });
        rows.push_back({"RotateBitmap, code " + std::to_string(code), rotate, roundTrip, 3});
    }

    std::printf("Client area %ldx%ld, image %dx%d, median of %d samples.\n\n", client.right, client.bottom,
                kImageWidth, kImageHeight, rounds);
    std::printf("| operation | ms | floor ms | ratio | goal | met |\n|---|---|---|---|---|---|\n");
    for (const Row& r : rows) {
        double ratio = r.seconds / r.floor;
        std::printf("| %s | %.2f | %.2f | %.2fx | %.0fx | %s |\n", r.what.c_str(), r.seconds * 1e3, r.floor * 1e3,
                    ratio, r.goal, ratio <= r.goal ? "yes" : "**no**");
    }
    std::printf("\nFloors: one BitBlt of the client area (paints, zoom step to 90 %%); one memcpy of the image's "
                "32-bit rows (the reduced view: zoom steps to 50, 33, 20, 10 and 30 %%); one GetDIBits + SetDIBits of the image as 24-bit rows "
                "(rotations).\n");
    std::printf("\nDistance from the exact area average (levels per channel, every tenth row):\n\n"
                "| zoom | area average: largest | mean | old way: largest | mean |\n|---|---|---|---|---|\n");
    for (const std::string& line : qualityLines) std::printf("%s\n", line.c_str());
    return 0;
}
