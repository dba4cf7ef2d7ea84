#include "capture/shutter_sound.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>

void PlayShutterSound() {
    char exe[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string besideProgram = exe;
    besideProgram = besideProgram.substr(0, besideProgram.find_last_of('\\') + 1) + "CAMERA.wav";
    const char* sound = ::GetFileAttributesA(besideProgram.c_str()) != INVALID_FILE_ATTRIBUTES
                            ? besideProgram.c_str() : "CAMERA.wav";
    ::PlaySoundA(sound, nullptr, SND_FILENAME);
}
