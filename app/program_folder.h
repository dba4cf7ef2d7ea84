#pragma once
// The program's own folder: CAMERA.wav and Help.chm live beside the executable, and so do the
// settings files where that folder can be written (app/settings_location.h).
#include <string>

// The full path of the running executable.
std::string ProgramPath();
// `name` in the executable's folder.
std::string BesideProgram(const char* name);
