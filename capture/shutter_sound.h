#pragma once

// Plays the shutter sound "CAMERA.wav" and returns when it has finished. The file beside the
// program is preferred, so the sound plays whatever the working directory; otherwise the system
// looks for the plain name in its usual places (and plays its default sound if it finds none).
void PlayShutterSound();
