#pragma once
// The full path of one of our settings files (configure.dat, save.dat, and the small files of
// other features): beside the program where its folder can be written, otherwise in the user's
// %APPDATA%\Tessaly\ (created on demand). CAMERA.wav and Help.chm are not settings: they stay
// beside the program (BesideProgram).
#include <string>

std::string SettingsFilePath(const char* name);

// %APPDATA%\Tessaly with its trailing backslash, created if missing; empty when the system names
// no such folder.
std::string UserSettingsFolder();
