// A library named like the JPEG writer's stand-in but without its "savejpeg" export: the program
// must report it and carry on.
#include <windows.h>

extern "C" __declspec(dllexport) int notsavejpeg() { return 0; }
