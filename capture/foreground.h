#pragma once
#include <windows.h>

// Brings `window` to the front although another program owns the foreground: our input is
// attached to the foreground thread for the moment of the switch, then detached again.
void ForceForeground(HWND window);
