#pragma once
// The program's own folder: configure.dat, save.dat, CAMERA.wav and Help.chm live beside the
// executable.
#include <string>

// The full path of the running executable.
std::string ProgramPath();
// `name` in the executable's folder.
std::string BesideProgram(const char* name);
