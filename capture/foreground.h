#pragma once
#include <windows.h>

// Brings `window` to the front although another program owns the foreground: our input is
// attached to the foreground thread for the moment of the switch, then detached again.
void ForceForeground(HWND window);

// Shows a hidden or minimised frame at the top-left corner of the screen, above every normal window
// (topmost and back), and in front: what a capture and an opened image do to bring the editor back.
void BringEditorForward(HWND frame);

// The dialog or message box of this thread that is waiting for the user, if any: what disables
// `frame`, or any visible dialog of the thread (a box opened while the frame was hidden).
HWND WaitingDialog(HWND frame);
