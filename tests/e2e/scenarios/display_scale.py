"""Larger display scales (the prefix's LogPixels): every dialog, both Configure pages and the frame
lay out whole, without clipping or overlap, checked from inside Windows; a full-screen capture is
still the screen, pixel for pixel. Each scale runs on a screen as large as 1024 x 768 at 100 %."""
import time

import winenv
from lib import layout, settings
from lib.images import assert_same, load_image
from lib.probe import wait_for
from lib.tessaly import FRAME, Tessaly
from scenarios.configure import SHEET, Sheet

INFO, ABOUT, EXIT, JPEG, RESIZE, ROTATE = "Capture", "About", "Exit", "JPEG Options", "Resize", "Rotate"
ID_APP_ABOUT, ID_EDIT_RESIZE, ID_EDIT_ROTATE = 57664, 32795, 32798
IDOK, IDCANCEL = 1, 2
SAVE_TO_FILE, AUTO_SAVE, SETTING = 1001, 1011, 1009
DPI_KEYS = (r"HKCU\Control Panel\Desktop",
            r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts")


def scaled_session(name, dpi):
    scale = dpi / 96
    return winenv.WineSession("e2e.display_scale." + name,
                              screen=(round(winenv.SCREEN[0] * scale), round(winenv.SCREEN[1] * scale)),
                              registry=[(key, "LogPixels", "REG_DWORD", dpi) for key in DPI_KEYS])


def check_dialog(t, caption, found):
    box = t.message(caption)
    window = box["window"]
    found += [f"{caption}: {p}" for p in layout.problems(box["controls"], window["hwnd"], window["client"])]
    return box


def check_sheet(t, found):
    sheet = Sheet.open(t)
    for index, caption in enumerate(("Capture", "Edit")):
        sheet.show(index, caption)
        d = sheet.read()
        found += [f"{SHEET}: {p}" for p in layout.problems(d["controls"], d["window"]["hwnd"], d["window"]["client"])]
        page, _ = sheet.page(caption)
        found += [f"{caption} page: {p}" for p in layout.problems(d["controls"], page["hwnd"], page["rect"])]
    # The JPEG writer's options, opened from the Edit page with automatic JPEG saving chosen (the
    # sheet is cancelled afterwards).
    sheet.click("Edit", SAVE_TO_FILE)
    sheet.click("Edit", AUTO_SAVE)
    sheet.choose_format(1)
    wait_for(lambda: sheet.control("Edit", SETTING)["enabled"], 5, "Setting stayed disabled")
    sheet.click("Edit", SETTING)
    check_dialog(t, JPEG, found)
    t.answer(JPEG, "Cancel")
    sheet.close(IDCANCEL)


def check_frame(t, dpi, found):
    frame = t.probe.find(FRAME, visible=True)
    d = t.probe.dialog(None, hwnd=frame["hwnd"])
    found += [f"frame: {p}" for p in layout.problems(d["controls"], frame["hwnd"], frame["client"])]
    # The toolbar shows the pictures drawn for the scale (buttons are 7 pixels wider than those).
    pictures = {96: 16, 120: 16, 144: 24, 192: 32}[dpi]
    sizes = {(b["rect"][2] - b["rect"][0], b["rect"][3] - b["rect"][1])
             for b in t.probe.toolbar(FRAME)["buttons"] if not b["separator"]}
    if sizes != {(pictures + 7, pictures + 7)}:
        found.append(f"toolbar buttons of {sizes} pixels, not for {pictures}-pixel pictures")


def run_at(dpi):
    with scaled_session(f"dialogs_frame_and_capture_at_{dpi}_dpi", dpi) as s:
        t = Tessaly(s).start(settings.encode(captureMode=1, playSound=0, showInfoDialog=1, showEditor=1,
                                             copyToClipboard=1, saveToFile=0))
        found = []
        time.sleep(0.5)
        s.screenshot(s.dir / "screen.png")
        s.xdotool("key", "F11")
        check_dialog(t, INFO, found)
        t.answer(INFO)

        # The capture is the screen, pixel for pixel, at the size of the screen.
        wait_for(lambda: t.probe.find(FRAME, visible=True), 10, "the editor did not come back")
        picture = s.dir / "clipboard.bmp"
        image = wait_for(lambda: (t.probe.clipboard(picture) or {}).get("image"), 10, "no picture on the clipboard")
        assert (image["width"], image["height"]) == s.screen, image
        assert_same(load_image(picture), load_image(s.dir / "screen.png"), what=f"full-screen capture at {dpi} dpi")

        check_frame(t, dpi, found)
        for command, caption in ((ID_EDIT_RESIZE, RESIZE), (ID_EDIT_ROTATE, ROTATE), (ID_APP_ABOUT, ABOUT)):
            t.probe.command(FRAME, command)
            check_dialog(t, caption, found)
            t.answer(caption, "Cancel" if caption != ABOUT else "OK")
        check_sheet(t, found)

        t.probe.close(FRAME)
        check_dialog(t, EXIT, found)
        t.answer(EXIT, "OK")
        wait_for(lambda: t.process.poll() is not None, 20, "Tessaly did not end")
        assert not found, "\n".join(found)


def scenario_dialogs_frame_and_capture_at_144_dpi():
    run_at(144)


def scenario_dialogs_frame_and_capture_at_192_dpi():
    run_at(192)
