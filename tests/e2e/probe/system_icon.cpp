#include "system_icon.h"

#include "dib_section.h"
#include "remote_buffer.h"

#include <cstdlib>

namespace {

struct SystemIcon {
    const char* kind;
    LPCSTR id;
};

const SystemIcon kSystemIcons[] = {
    {"information", IDI_INFORMATION},
    {"question", IDI_QUESTION},
    {"warning", IDI_WARNING},
    {"error", IDI_ERROR},
    {"application", IDI_APPLICATION},
};

// A 16-bit screen keeps 5 or 6 bits per channel.
bool closeEnough(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 8 && std::abs(GetGValue(a) - GetGValue(b)) <= 8 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 8;
}

// Share of the icon's opaque pixels (same colour drawn on black and on white) that agree with the
// screen. Translucent edge pixels depend on the background and are left out.
double pixelMatch(HICON icon, const DibSection& screen, const RECT& place) {
    const int w = screen.width(), h = screen.height();
    DibSection onBlack(w, h, 32), onWhite(w, h, 32);
    if (!onBlack.ok() || !onWhite.ok()) return 0;
    onBlack.fill(RGB(0, 0, 0));
    onWhite.fill(RGB(255, 255, 255));
    const int iw = place.right - place.left, ih = place.bottom - place.top;
    DrawIconEx(onBlack.dc(), place.left, place.top, icon, iw, ih, 0, nullptr, DI_NORMAL);
    DrawIconEx(onWhite.dc(), place.left, place.top, icon, iw, ih, 0, nullptr, DI_NORMAL);
    int opaque = 0, agree = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            COLORREF c = onBlack.pixel(x, y);
            if (c != onWhite.pixel(x, y)) continue;
            ++opaque;
            if (closeEnough(c, screen.pixel(x, y))) ++agree;
        }
    }
    return opaque ? static_cast<double>(agree) / opaque : 0;
}

}  // namespace

bool isIconStatic(HWND hwnd) {
    char name[32] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return lstrcmpiA(name, "Static") == 0 && (GetWindowLongA(hwnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

IconIdentity identifySystemIcon(HWND iconStatic) {
    IconIdentity identity;
    LRESULT shown = 0;
    if (sendWithTimeout(iconStatic, STM_GETICON, 0, 0, &shown, 2000) && shown) {
        for (const SystemIcon& candidate : kSystemIcons) {
            if (reinterpret_cast<HICON>(shown) == LoadIconA(nullptr, candidate.id)) {
                identity.kind = candidate.kind;
                identity.method = "handle";
                identity.match = 1.0;
                return identity;
            }
        }
    }

    RECT client{};
    GetClientRect(iconStatic, &client);
    POINT origin{0, 0};
    ClientToScreen(iconStatic, &origin);
    RECT area{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
    DibSection screen(client.right, client.bottom, 32);
    if (!grabScreen(area, screen)) return identity;

    // A static stretches its icon over the client area, or centres it at its own size.
    RECT place = client;
    if (GetWindowLongA(iconStatic, GWL_STYLE) & SS_CENTERIMAGE) {
        const int cx = GetSystemMetrics(SM_CXICON), cy = GetSystemMetrics(SM_CYICON);
        place.left = (client.right - cx) / 2;
        place.top = (client.bottom - cy) / 2;
        place.right = place.left + cx;
        place.bottom = place.top + cy;
    }
    for (const SystemIcon& candidate : kSystemIcons) {
        double match = pixelMatch(LoadIconA(nullptr, candidate.id), screen, place);
        if (match > identity.match) {
            identity.match = match;
            identity.kind = candidate.kind;
        }
    }
    if (identity.match >= 0.9) {
        identity.method = "pixels";
    } else {
        identity.kind.clear();
    }
    return identity;
}
