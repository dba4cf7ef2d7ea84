// Pictures: the clipboard's image, the screen, one screen pixel.
#include "bmp_file.h"
#include "commands.h"
#include "dib_section.h"
#include "win_text.h"

#include <cstring>
#include <vector>

namespace {

const char* standardFormatName(UINT format) {
    switch (format) {
    case CF_TEXT: return "CF_TEXT";
    case CF_BITMAP: return "CF_BITMAP";
    case CF_METAFILEPICT: return "CF_METAFILEPICT";
    case CF_SYLK: return "CF_SYLK";
    case CF_DIF: return "CF_DIF";
    case CF_TIFF: return "CF_TIFF";
    case CF_OEMTEXT: return "CF_OEMTEXT";
    case CF_DIB: return "CF_DIB";
    case CF_PALETTE: return "CF_PALETTE";
    case CF_PENDATA: return "CF_PENDATA";
    case CF_RIFF: return "CF_RIFF";
    case CF_WAVE: return "CF_WAVE";
    case CF_UNICODETEXT: return "CF_UNICODETEXT";
    case CF_ENHMETAFILE: return "CF_ENHMETAFILE";
    case CF_HDROP: return "CF_HDROP";
    case CF_LOCALE: return "CF_LOCALE";
    case CF_DIBV5: return "CF_DIBV5";
    default: return nullptr;
    }
}

std::string formatName(UINT format) {
    if (const char* name = standardFormatName(format)) return name;
    char name[256] = "";
    if (GetClipboardFormatNameA(format, name, sizeof name) > 0) return utf8FromAnsi(name);
    return "";
}

// What one look at the clipboard found. Filled by a worker thread, so that an owner that does not
// render its delayed data cannot hang the probe.
struct ClipboardLook {
    DWORD timeoutMs = 0;
    bool opened = false;
    std::vector<UINT> formats;
    std::string source;           // "CF_DIB" or "CF_BITMAP"; empty when there is no image
    std::vector<uint8_t> dib;     // packed DIB: header, masks/colours, pixels
};

// Someone else may hold the clipboard open for a moment: retry for about 2 s.
bool openClipboardPatiently() {
    for (int attempt = 0; attempt < 40; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(50);
    }
    return false;
}

std::vector<uint8_t> copyGlobal(HANDLE data) {
    std::vector<uint8_t> bytes;
    const SIZE_T size = data ? GlobalSize(data) : 0;
    const void* p = size ? GlobalLock(data) : nullptr;
    if (p) {
        bytes.assign(static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + size);
        GlobalUnlock(data);
    }
    return bytes;
}

// A device-dependent bitmap has no file layout of its own: it is taken at its depth (24 or 32) or 32.
std::vector<uint8_t> dibFromBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return {};
    BITMAPINFOHEADER h{};
    h.biSize = sizeof h;
    h.biWidth = info.bmWidth;
    h.biHeight = info.bmHeight;
    h.biPlanes = 1;
    h.biBitCount = info.bmBitsPixel == 24 ? 24 : 32;
    h.biCompression = BI_RGB;
    const size_t pixels = dibPixelSize(h);
    if (!pixels) return {};
    std::vector<uint8_t> dib(sizeof h + pixels);
    std::memcpy(dib.data(), &h, sizeof h);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, dib.data() + sizeof h,
                         reinterpret_cast<BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == info.bmHeight ? dib : std::vector<uint8_t>{};
}

bool lookOnce(ClipboardLook* look) {
    if (!openClipboardPatiently()) return false;
    look->opened = true;
    look->formats.clear();
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) look->formats.push_back(f);
    if (IsClipboardFormatAvailable(CF_DIB)) {
        look->dib = copyGlobal(GetClipboardData(CF_DIB));
        if (!look->dib.empty()) look->source = "CF_DIB";
    }
    if (look->source.empty() && IsClipboardFormatAvailable(CF_BITMAP)) {
        look->dib = dibFromBitmap(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
        if (!look->dib.empty()) look->source = "CF_BITMAP";
    }
    CloseClipboard();
    return !look->source.empty();
}

DWORD WINAPI lookUntilImage(void* param) {
    ClipboardLook* look = static_cast<ClipboardLook*>(param);
    pollUntil(look->timeoutMs, [&] { return lookOnce(look); });
    return 0;
}

int writeClipboardImage(JsonWriter& out, const ClipboardLook& look, const std::string& path) {
    BITMAPINFOHEADER h{};
    if (look.dib.size() < sizeof h) return fail(out, kFailed, "the clipboard's DIB is too short");
    std::memcpy(&h, look.dib.data(), sizeof h);
    const size_t infoSize = dibInfoSize(h);
    const size_t pixelSize = dibPixelSize(h);
    if (!infoSize || !pixelSize || infoSize > look.dib.size() || pixelSize > look.dib.size() - infoSize)
        return fail(out, kFailed, "the clipboard's DIB header does not match its size");
    out.key("image");
    out.beginObject();
    out.field("source", look.source);
    out.field("width", h.biWidth);
    out.field("height", h.biHeight < 0 ? -h.biHeight : h.biHeight);
    out.field("bitcount", static_cast<int>(h.biBitCount));
    out.field("compression", h.biCompression);
    out.field("top_down", h.biHeight < 0);
    out.field("header_size", h.biSize);
    out.field("path", path);
    out.endObject();
    std::string error;
    if (!writeBmpFile(path, look.dib.data(), infoSize, look.dib.data() + infoSize, pixelSize, &error))
        return fail(out, kFailed, error);
    return kOk;
}

}  // namespace

int cmdClipboard(Invocation& inv, JsonWriter& out) {
    if (inv.args.size() != 1) return usage(out, "clipboard OUT.bmp");
    const std::string path = inv.takeArg();
    ClipboardLook* look = new ClipboardLook;  // left to the worker if it never returns
    look->timeoutMs = inv.timeoutMs;
    HANDLE worker = CreateThread(nullptr, 0, lookUntilImage, look, 0, nullptr);
    if (!worker) return fail(out, kFailed, "cannot start a thread");
    // Opening may take 2 s per look and delayed rendering a few seconds more.
    const DWORD finished = WaitForSingleObject(worker, inv.timeoutMs + 8000);
    CloseHandle(worker);
    if (finished != WAIT_OBJECT_0)
        return fail(out, kFailed, "the clipboard did not answer (its owner may not be pumping messages)");

    out.key("formats");
    out.beginArray();
    for (UINT f : look->formats) {
        out.beginObject();
        out.field("id", f);
        out.field("name", formatName(f));
        out.endObject();
    }
    out.endArray();
    int code = kOk;
    if (!look->opened) {
        out.nullField("image");
        code = fail(out, kFailed, "cannot open the clipboard");
    } else if (look->source.empty()) {
        out.nullField("image");
        code = fail(out, kNotFound, "no image on the clipboard");
    } else {
        code = writeClipboardImage(out, *look, path);
    }
    delete look;
    return code;
}

int cmdScreen(Invocation& inv, JsonWriter& out) {
    const char* synopsis = "screen OUT.bmp [X Y W H]";
    if (inv.args.size() != 1 && inv.args.size() != 5) return usage(out, synopsis);
    const std::string path = inv.takeArg();
    RECT area{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
    area.right = area.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    area.bottom = area.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (inv.hasArg()) {
        int64_t x = 0, y = 0, w = 0, h = 0;
        if (!parseNumber(inv.takeArg(), &x) || !parseNumber(inv.takeArg(), &y) || !parseNumber(inv.takeArg(), &w) ||
            !parseNumber(inv.takeArg(), &h) || w <= 0 || h <= 0 || w > 32768 || h > 32768)
            return usage(out, synopsis);
        area = RECT{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + w), static_cast<LONG>(y + h)};
    }
    DibSection grab(area.right - area.left, area.bottom - area.top, 24);
    if (!grabScreen(area, grab)) return fail(out, kFailed, "cannot copy the screen");
    std::string error;
    if (!grab.writeBmp(path, &error)) return fail(out, kFailed, error);
    out.field("path", path);
    out.intArrayField("rect", {area.left, area.top, area.right, area.bottom});
    out.field("width", grab.width());
    out.field("height", grab.height());
    out.field("bitcount", 24);
    HDC screen = GetDC(nullptr);
    out.field("screen_bitspixel", GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
    return kOk;
}

int cmdPixel(Invocation& inv, JsonWriter& out) {
    int64_t x = 0, y = 0;
    if (inv.args.size() != 2 || !parseNumber(inv.takeArg(), &x) || !parseNumber(inv.takeArg(), &y))
        return usage(out, "pixel X Y");
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, static_cast<int>(x), static_cast<int>(y));
    ReleaseDC(nullptr, screen);
    out.field("x", static_cast<int>(x));
    out.field("y", static_cast<int>(y));
    if (c == CLR_INVALID) return fail(out, kFailed, "the point is outside the screen");
    out.field("r", static_cast<int>(GetRValue(c)));
    out.field("g", static_cast<int>(GetGValue(c)));
    out.field("b", static_cast<int>(GetBValue(c)));
    return kOk;
}
