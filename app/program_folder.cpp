#include "app/program_folder.h"

#include <windows.h>

std::string ProgramPath() {
    char path[MAX_PATH] = "";
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : MAX_PATH);
}

std::string BesideProgram(const char* name) {
    const std::string path = ProgramPath();
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}
