// Texts read from windows arrive in the ANSI code page; JSON wants UTF-8.
#pragma once

#include <windows.h>

#include <string>

std::string utf8FromAnsi(const std::string& ansi);

// The caption as the window manager keeps it (never sends a message, so a hung target cannot block).
std::string windowCaption(HWND hwnd);
std::string windowClass(HWND hwnd);

// WM_GETTEXT through SendMessageTimeout: the system copies the text across processes, which gives
// the content of another process's edit control (GetWindowText only gives its caption).
std::string controlText(HWND hwnd);
