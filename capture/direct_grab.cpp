// Capture mode 5: the screen, at once, inside the request that asked for it. Meant for full-screen
// programs: no agent, no delay, no window of ours opens afterwards; the picture waits as a packed
// device-independent bitmap until the view next paints.
#include "app/kelvane101_view.h"
#include "capture/capture_controller.h"
#include "capture/dib_conversions.h"
#include "capture/screen_area.h"
#include "capture/shutter_sound.h"

bool CaptureController::DirectGrab() {
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    // The primary monitor only: a full-screen program runs there.
    PixelRect primary = ScreenArea::PrimaryScreen();
    HBITMAP grab = ::CreateCompatibleBitmap(screen, primary.Width(), primary.Height());
    HGDIOBJ old = ::SelectObject(memory, grab);
    ::BitBlt(memory, 0, 0, primary.Width(), primary.Height(), screen, 0, 0, SRCCOPY);
    if (view.settings.includePointer) ScreenArea::DrawPointer(memory, {0, 0});
    HPALETTE palette = (::GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) ? CreateSystemPalette(screen) : nullptr;
    ::SelectObject(memory, old);

    view.pendingDib.Free();
    view.pendingDib = DibBlock(BitmapToDib(grab, BI_RGB, palette));
    bool made = static_cast<bool>(view.pendingDib);
    if (made) {
        // The save below may stop on a message box; the gate keeps the picture safe until then.
        gate.PictureTaken();
        // The next paint at 100 % rebuilds the image from the block.
        view.imageBitmap.DeleteObject();
        view.hasImage = true;
        if (view.settings.playSound == 1) PlayShutterSound();
        if (view.settings.saveToFile == 1 && view.settings.saveMode == 2) view.AutoSaveDib();
    }
    if (grab) ::DeleteObject(grab);
    if (palette) ::DeleteObject(palette);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return made;
}
