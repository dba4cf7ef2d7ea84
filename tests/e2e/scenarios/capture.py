"""Capturing: the hot-key and the Capture menu, the agents' pictures against the screen, and the
post-capture pipeline (information box, editor, clipboard, status bar)."""
import time

import winenv
from lib import settings
from lib.fixture import start_fixture
from lib.images import assert_same, crop, load_image
from lib.probe import wait_for
from lib.tessaly import FRAME, Tessaly

INFO_CAPTION = "Capture"
ID_CAPTURE_ACTIVE_WINDOW, ID_CAPTURE_DIRECTX_NOTE = 32820, 32832
DIRECTX_NOTE = ("Note for DirectX Full Screen Capture Settings:\n1.Use hotkey.\n2.No message dialog "
                "be shown.\n3.No 'save as' dialog after capture. Use auto-save.")


def session(name):
    return winenv.WineSession("e2e.capture." + name)


def quiet_settings(**changes):
    """No sound, box, editor or saving unless a scenario asks for them; the clipboard gets the
    picture so it can be compared."""
    base = dict(playSound=0, showInfoDialog=0, showEditor=0, copyToClipboard=1, saveToFile=0)
    return settings.encode(**dict(base, **changes))


def clipboard_picture(t, s, name):
    path = s.dir / name
    result = wait_for(lambda: (t.probe.clipboard(path) or {}).get("image"), 10,
                      "no picture reached the clipboard")
    return load_image(path), result


def scenario_full_screen_equals_the_screen_and_runs_the_pipeline():
    """Mode 1 by F11 with sound, box, editor and clipboard: the box names the size, the picture
    equals the screen taken from X, the editor comes back at (0, 0), the status bar tells."""
    with session("full_screen_equals_the_screen_and_runs_the_pipeline") as s:
        t = Tessaly(s).start(quiet_settings(captureMode=1, playSound=1, showInfoDialog=1, showEditor=1))
        start_fixture(s, pos=(120, 90), size=(400, 300))
        time.sleep(0.5)
        s.screenshot(s.dir / "before.png")
        s.xdotool("key", "F11")

        box = t.message(INFO_CAPTION)
        info = [c for c in box["controls"] if c["id"] == 1002][0]
        assert info["text"] == "You have Captured a bitmap : 1024 x 768 , 32 bits.", info
        assert not t.probe.find(FRAME)["visible"], "the editor came back before the box was closed"
        t.answer(INFO_CAPTION)

        frame = wait_for(lambda: t.probe.find(FRAME, visible=True), 10, "the editor did not come back")
        assert frame["rect"][:2] == [0, 0], frame["rect"]
        assert not frame["topmost"], "the editor stayed topmost"
        picture, image = clipboard_picture(t, s, "clipboard.bmp")
        assert (image["width"], image["height"]) == (1024, 768), image
        assert_same(picture, load_image(s.dir / "before.png"), what="full-screen capture")
        parts = [p["text"] for p in t.probe.status(FRAME)["parts"][:3]]
        assert parts == ["1024x768,32 bits", "100%", "No Selected Area."], parts


def scenario_active_window_is_the_foreground_window_clipped_to_the_screen():
    """Mode 2: the fixture's window rectangle, and only its on-screen part when it hangs off."""
    with session("active_window_is_the_foreground_window_clipped_to_the_screen") as s:
        t = Tessaly(s).start(quiet_settings(captureMode=2))
        f = start_fixture(s, pos=(150, 120), size=(320, 240))
        time.sleep(0.5)
        s.screenshot(s.dir / "screen1.png")
        s.xdotool("key", "F11")
        picture, _ = clipboard_picture(t, s, "whole.bmp")
        assert_same(picture, crop(load_image(s.dir / "screen1.png"), f.window["rect"]), what="window")
        f.close()

        t.probe.clipboard(s.dir / "ignored.bmp")
        hanging = start_fixture(s, caption="Hanging Fixture", pos=(824, 618), size=(300, 250))
        time.sleep(0.5)
        s.screenshot(s.dir / "screen2.png")
        s.xdotool("key", "F11")
        expected = crop(load_image(s.dir / "screen2.png"), [824, 618, 1024, 768])

        def clipped_picture():
            r = t.probe.clipboard(s.dir / "clipped.bmp")
            return r and r["image"] and (r["image"]["width"], r["image"]["height"]) == (200, 150)
        wait_for(clipped_picture, 10, "no 200x150 picture of the clipped window")
        assert_same(load_image(s.dir / "clipped.bmp"), expected, what="clipped window")
        assert hanging.window["rect"] == [824, 618, 1124, 868]


def scenario_hot_key_twice_quickly_makes_one_capture():
    """The second press comes while the agent runs and is ignored."""
    with session("hot_key_twice_quickly_makes_one_capture") as s:
        folder = s.dir / "shots"
        t = Tessaly(s).start(quiet_settings(captureMode=1, saveToFile=1, saveMode=2,
                                            saveDirectory=s.winpath(folder) + "\\"))
        s.xdotool("key", "--delay", "30", "F11", "F11")
        wait_for(lambda: folder.exists() and list(folder.iterdir()), 10, "nothing was saved")
        time.sleep(2)
        assert [f.name for f in folder.iterdir()] == ["Kelvane_001.bmp"], list(folder.iterdir())
        t.exit()
        assert settings.decode(t.settings_path.read_bytes())["nextNumber"] == 2


def scenario_active_window_command_becomes_the_default_mode():
    """"&Active Window" captures at once and is the mode stored at exit; the DirectX item only
    shows its note."""
    with session("active_window_command_becomes_the_default_mode") as s:
        t = Tessaly(s).start(quiet_settings(captureMode=3))
        t.probe.command(FRAME, ID_CAPTURE_DIRECTX_NOTE)
        note = t.message("DirectX Capture Notes")
        assert note["text"] == DIRECTX_NOTE, note["text"]
        t.answer("DirectX Capture Notes")

        start_fixture(s, pos=(200, 200), size=(300, 200))
        t.probe.command(FRAME, ID_CAPTURE_ACTIVE_WINDOW)
        picture, image = clipboard_picture(t, s, "active.bmp")
        assert (image["width"], image["height"]) == (300, 200), image
        t.exit()
        assert settings.decode(t.settings_path.read_bytes())["captureMode"] == 2


def overlay_up(t):
    """Waits until the agent's overlay covers the screen (a visible topmost window of our process
    as large as the screen)."""
    def found():
        return [w for w in t.visible_windows() if w["rect"] == [0, 0, 1024, 768] and w["topmost"]]
    wait_for(found, 10, "the agent's overlay did not appear")
    time.sleep(0.4)  # the screen is frozen 100 ms after start


def scenario_window_button_control_takes_exactly_the_button():
    """Mode 3: pointing at a fixture button and clicking gives the button's rectangle as it was
    on screen, without the overlay's highlight."""
    with session("window_button_control_takes_exactly_the_button") as s:
        t = Tessaly(s).start(quiet_settings(captureMode=3))
        f = start_fixture(s, pos=(200, 150), size=(480, 360))
        button = [c for c in t.probe.dialog(f.caption)["controls"] if c["id"] == 1001][0]
        time.sleep(0.5)
        s.screenshot(s.dir / "screen.png")
        left, top, right, bottom = button["rect"]
        s.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2)
        s.xdotool("key", "F11")
        overlay_up(t)
        s.xdotool("mousemove", (left + right) // 2 + 1, (top + bottom) // 2)
        time.sleep(0.3)
        s.xdotool("click", "1")
        picture, image = clipboard_picture(t, s, "button.bmp")
        assert_same(picture, crop(load_image(s.dir / "screen.png"), button["rect"]), what="button")


def scenario_rectangle_drag_gives_the_exact_rectangle():
    """Mode 4: a drag from (10,10) to (109,59) gives those 100 x 50 pixels of the screen."""
    with session("rectangle_drag_gives_the_exact_rectangle") as s:
        t = Tessaly(s).start(quiet_settings(captureMode=4))
        start_fixture(s, pos=(0, 0), size=(400, 300), popup=True)
        time.sleep(0.5)
        s.screenshot(s.dir / "screen.png")
        s.xdotool("mousemove", 300, 300)
        s.xdotool("key", "F11")
        overlay_up(t)
        s.xdotool("mousemove", 10, 10)
        time.sleep(0.2)
        s.xdotool("mousedown", "1")
        for x, y in ((40, 30), (80, 50), (109, 59)):
            s.xdotool("mousemove", x, y)
            time.sleep(0.1)
        s.xdotool("mouseup", "1")
        picture, image = clipboard_picture(t, s, "rectangle.bmp")
        assert (image["width"], image["height"]) == (100, 50), image
        assert_same(picture, crop(load_image(s.dir / "screen.png"), [10, 10, 110, 60]), what="rectangle")


def scenario_escape_in_the_interactive_modes_runs_no_pipeline():
    """Esc in modes 3 and 4: no box, no editor, nothing on the clipboard, and capturing works
    again afterwards."""
    with session("escape_in_the_interactive_modes_runs_no_pipeline") as s:
        t = Tessaly(s).start(quiet_settings(captureMode=3, showInfoDialog=1, showEditor=1))
        for command in (32821, 32822):  # "&Window, Button, Control", "&Rectangle Area"
            t.probe.command(FRAME, command)
            overlay_up(t)
            s.xdotool("key", "Escape")
            wait_for(lambda: not t.visible_windows(), 10, "the overlay stayed")
            time.sleep(1)
            assert t.probe.find(INFO_CAPTION, visible=True) is None
            assert not t.probe.find(FRAME)["visible"]
        assert (t.probe.clipboard(s.dir / "none.bmp") or {}).get("image") is None
        s.xdotool("key", "F11")  # mode 4 is the default now, and a capture can start again
        overlay_up(t)
        s.xdotool("key", "Escape")
        wait_for(lambda: not t.visible_windows(), 10, "the overlay stayed")


def scenario_mode_command_during_a_capture_finishes_the_agent_that_was_started():
    """A mode command from a menu while the rectangle agent runs changes the stored mode but not
    the agent that is finished: Esc still ends the rectangle agent cleanly, and the next F11
    captures in the new mode."""
    with session("mode_command_during_a_capture_finishes_the_agent_that_was_started") as s:
        t = Tessaly(s).start(quiet_settings(captureMode=4))
        s.xdotool("key", "F11")
        overlay_up(t)
        t.probe.command(FRAME, 32819)  # "&Full Screen/Virtual Desktop" while Osgrave runs
        time.sleep(0.5)
        s.xdotool("key", "Escape")
        wait_for(lambda: not t.visible_windows(), 10, "the rectangle agent's overlay stayed")
        time.sleep(0.5)
        assert (t.probe.clipboard(s.dir / "none.bmp") or {}).get("image") is None, "a picture was taken"
        s.xdotool("key", "F11")  # now mode 1
        _, image = clipboard_picture(t, s, "screen.bmp")
        assert (image["width"], image["height"]) == (1024, 768), image


def scenario_unknown_mode_from_a_damaged_file_is_read_as_the_default():
    """captureMode 9 is read as the default mode 3: the hot-key starts the window picker, the
    file goes back with 3, and a menu capture works right after."""
    with session("unknown_mode_from_a_damaged_file_is_read_as_the_default") as s:
        t = Tessaly(s).start(quiet_settings(captureMode=9))
        s.xdotool("key", "F11")
        overlay_up(t)
        s.xdotool("key", "Escape")
        wait_for(lambda: not t.visible_windows(), 10, "the overlay stayed")
        t.exit()
        assert settings.decode(t.settings_path.read_bytes())["captureMode"] == 3
        t.start()
        t.wait_frame()
        t.probe.command(FRAME, 32819)
        _, image = clipboard_picture(t, s, "screen.bmp")
        assert (image["width"], image["height"]) == (1024, 768), image
