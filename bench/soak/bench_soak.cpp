// Saving the same screen-sized capture hundreds of times in each format, as a program that lives
// in the notification area does over weeks: the process's memory, GDI objects and handles after
// every 50 saves. A save that keeps something shows as a column that climbs. Not a timed test: a
// Windows program that bench/run_under_wine.py runs in a private Wine session.
//
// Usage: bench_soak.exe [SAVES]   prints a Markdown table per format on stdout
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture/dib_conversions.h"
#include "imagefile/image_saver.h"

namespace {

constexpr int kWidth = 1024, kHeight = 768;  // the test display's screen

// A screen-compatible picture with more than 256 colours, so that GIF saves build their palette.
HBITMAP MakeCapture() {
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
    std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels[size_t(y) * kWidth + x] = ((x / 8 * 29) & 0xFF) << 16 | ((y / 6 * 41) & 0xFF) << 8 | ((x ^ y) & 0x30);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB};
    ::SetDIBits(screen, bitmap, 0, kHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

// Wine answers 0 for the GDI and handle counts of a process; there the live objects are counted
// one by one instead: a GDI object by its table index, a kernel handle by its value.
DWORD GdiObjects() {
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return n;
    DWORD n = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++n;
    return n;
}

DWORD Handles() {
    DWORD n = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &n) && n) return n;
    DWORD flags = 0;
    for (UINT_PTR value = 4; value < 0x10000; value += 4)
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++n;
    return n;
}

struct Counts {
    double workingSetMb;
    DWORD gdiObjects, handles;
};

Counts Now() {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
    return {memory.WorkingSetSize / 1048576.0, GdiObjects(), Handles()};
}

void PrintRow(int saves, const Counts& c) {
    std::printf("| %d | %.1f | %lu | %lu |\n", saves, c.workingSetMb, static_cast<unsigned long>(c.gdiObjects),
                static_cast<unsigned long>(c.handles));
    std::fflush(stdout);
}

std::string Folder() {
    char exe[MAX_PATH];
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::string TempFolder() {
    char folder[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, folder);
    return folder;
}

}  // namespace

int main(int argc, char** argv) {
    const int saves = argc > 1 ? std::max(50, std::atoi(argv[1])) : 300;
    HBITMAP capture = MakeCapture();
    // The direct grab saves its packed DIB; every other capture its bitmap.
    DibBlock grab(BitmapToDib(capture, BI_RGB, nullptr));
    struct Run {
        const char* name;
        int format;
        const char* extension;
        bool fromDib;
    } runs[] = {{"BMP", 0, ".bmp", false}, {"GIF", 2, ".gif", false}, {"JPEG", 1, ".jpg", false},
                {"BMP of a direct grab", 0, ".bmp", true}, {"GIF of a direct grab", 2, ".gif", true},
                {"JPEG of a direct grab", 1, ".jpg", true}};
    std::printf("%d automatic saves of a %d x %d capture per format, over ten numbered names in one folder\n\n",
                saves, kWidth, kHeight);
    for (const Run& run : runs) {
        ImageSaver::Image image;
        if (run.fromDib)
            image.dib = grab.Get();
        else
            image.bitmap = capture;
        std::printf("#### %s\n\n| saves | working set MB | GDI objects | handles |\n|---|---|---|---|\n", run.name);
        PrintRow(0, Now());
        int failures = 0;
        for (int i = 1; i <= saves; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "soak_%02d", i % 10);  // ten names, each replaced again and again
            if (ImageSaver::WriteImage(image, run.format, Folder() + name + run.extension, {}, true, TempFolder()) !=
                ImageSaver::Outcome::kSaved)
                ++failures;
            if (i % 50 == 0) PrintRow(i, Now());
        }
        for (int i = 0; i < 10; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "soak_%02d", i);
            ::DeleteFileA((Folder() + name + run.extension).c_str());
        }
        std::printf("\n%d failed saves\n\n", failures);
        if (failures) return 2;
    }
    ::DeleteObject(capture);
    return 0;
}
