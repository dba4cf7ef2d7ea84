#include "capture/shutter_sound.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "app/program_folder.h"

void PlayShutterSound() {
    const std::string besideProgram = BesideProgram("CAMERA.wav");
    const char* sound = ::GetFileAttributesA(besideProgram.c_str()) != INVALID_FILE_ATTRIBUTES
                            ? besideProgram.c_str() : "CAMERA.wav";
    ::PlaySoundA(sound, nullptr, SND_FILENAME);
}
