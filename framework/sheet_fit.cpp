#include "framework/sheet_fit.h"

#include <commctrl.h>
#include <prsht.h>

namespace sheet_fit {

namespace {

// Only the size is read from the template; the dialog manager does the measuring.
bool TemplateDialogUnits(const void* resource, int& cx, int& cy) {
    const auto* words = static_cast<const WORD*>(resource);
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;  // DLGTEMPLATEEX
    // DLGTEMPLATEEX: version, signature, help id, ex-style, style, item count, x, y, cx, cy.
    // DLGTEMPLATE: style, ex-style, item count, x, y, cx, cy.
    const auto* bytes = static_cast<const BYTE*>(resource);
    const BYTE* size = bytes + (extended ? 22 : 14);
    cx = *reinterpret_cast<const short*>(size);
    cy = *reinterpret_cast<const short*>(size + 2);
    return cx > 0 && cy > 0;
}

INT_PTR CALLBACK MeasureProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The page area: the tab control's display rectangle in the sheet's client coordinates.
RECT PageArea(HWND sheet) {
    RECT area{};
    HWND tab = PropSheet_GetTabControl(sheet);
    if (!tab) return area;
    ::GetWindowRect(tab, &area);
    ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&area), 2);
    TabCtrl_AdjustRect(tab, FALSE, &area);
    return area;
}

void Grow(HWND window, int dx, int dy) {
    RECT r;
    ::GetWindowRect(window, &r);
    ::SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dx, r.bottom - r.top + dy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveBy(HWND sheet, HWND child, int dx, int dy) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&r), 2);
    ::SetWindowPos(child, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

SIZE TemplateSize(HWND sheet, HINSTANCE instance, const char* name) {
    SIZE size{0, 0};
    HRSRC found = ::FindResourceA(instance, name, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const void* resource = loaded ? ::LockResource(loaded) : nullptr;
    int cx = 0, cy = 0;
    if (!resource || !TemplateDialogUnits(resource, cx, cy)) return size;
    // A hidden copy of the page converts its dialog units with its own font, as the page will.
    HWND probe = ::CreateDialogIndirectParamA(instance, static_cast<LPCDLGTEMPLATEA>(resource), sheet,
                                              MeasureProc, 0);
    if (!probe) return size;
    RECT r{0, 0, cx, cy};
    ::MapDialogRect(probe, &r);
    ::DestroyWindow(probe);
    size.cx = r.right;
    size.cy = r.bottom;
    return size;
}

void GrowPageArea(HWND sheet, SIZE needed) {
    const RECT area = PageArea(sheet);
    const int dx = needed.cx > area.right - area.left ? needed.cx - (area.right - area.left) : 0;
    const int dy = needed.cy > area.bottom - area.top ? needed.cy - (area.bottom - area.top) : 0;
    if (!dx && !dy) return;

    // The buttons sit below and to the right of the page area: they move with its corner.
    for (HWND child = ::GetWindow(sheet, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = "";
        ::GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Button") == 0) MoveBy(sheet, child, dx, dy);
    }
    Grow(PropSheet_GetTabControl(sheet), dx, dy);
    Grow(sheet, dx, dy);
    if (HWND page = PropSheet_GetCurrentPageHwnd(sheet)) FitPage(sheet, page);

    // Still centred on its owner's screen, and whole on that screen.
    RECT r, work;
    ::GetWindowRect(sheet, &r);
    MONITORINFO monitor{sizeof monitor};
    ::GetMonitorInfoA(::MonitorFromWindow(sheet, MONITOR_DEFAULTTONEAREST), &monitor);
    work = monitor.rcWork;
    int left = r.left - dx / 2, top = r.top - dy / 2;
    if (left + (r.right - r.left) > work.right) left = work.right - (r.right - r.left);
    if (top + (r.bottom - r.top) > work.bottom) top = work.bottom - (r.bottom - r.top);
    if (left < work.left) left = work.left;
    if (top < work.top) top = work.top;
    ::SetWindowPos(sheet, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FitPage(HWND sheet, HWND page) {
    const RECT area = PageArea(sheet);
    ::SetWindowPos(page, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace sheet_fit
