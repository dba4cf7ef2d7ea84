#include "chrome/html_help.h"

namespace html_help {

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
constexpr UINT kDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC

HtmlHelpFunction Viewer() {
    static HtmlHelpFunction function = [] {
        HMODULE module = ::LoadLibraryA("hhctrl.ocx");
        return module ? reinterpret_cast<HtmlHelpFunction>(::GetProcAddress(module, "HtmlHelpA")) : nullptr;
    }();
    return function;
}

}  // namespace

HWND DisplayTopic(HWND owner, const std::string& helpFile) {
    HtmlHelpFunction viewer = Viewer();
    return viewer ? viewer(owner, helpFile.c_str(), kDisplayTopic, 0) : nullptr;
}

}  // namespace html_help
