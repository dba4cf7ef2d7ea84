"""One capture at a time, and each its own picture: requests while a capture's information box or
Save As dialog waits are refused and bring that dialog forward; running copies capturing at once
each save their own screen."""
import time

import winenv
from lib import settings
from lib.decoders import decode_bmp
from lib.fixture import start_fixture
from lib.images import assert_same, load_image
from lib.probe import Probe, wait_for
from lib.tessaly import FRAME, Tessaly

INFO_CAPTION, SAVE_CAPTION = "Capture", "Save As"
ID_CAPTURE_DEFAULT, ID_CAPTURE_FULL_SCREEN = 32773, 32819


def session(name):
    return winenv.WineSession("e2e.capture_gate." + name)


def screen(s, name):
    """The screen as it stands, once windows have settled."""
    time.sleep(0.5)
    s.screenshot(s.dir / name)
    return load_image(s.dir / name)


def saved(folder, timeout=15):
    """The files saved into `folder` so far, once at least one is there and writing has ended."""
    wait_for(lambda: folder.exists() and list(folder.iterdir()), timeout, f"nothing was saved in {folder}")
    time.sleep(0.5)
    return sorted(f.name for f in folder.iterdir())


def visible(t, caption):
    return [w for w in t.probe.windows(visible=True) if w["caption"] == caption]


def scenario_requests_while_the_box_or_save_as_waits_keep_each_capture():
    """The hot-key and the menu commands while the information box is up, and the hot-key while the
    Save As dialog is up, capture nothing and bring the waiting one forward; every accepted capture
    is saved with the screen it was taken of."""
    with session("requests_while_the_box_or_save_as_waits_keep_each_capture") as s:
        shots = s.dir / "shots"
        t = Tessaly(s).start(settings.encode(
            captureMode=1, playSound=0, showInfoDialog=1, showEditor=0, copyToClipboard=0, saveToFile=1,
            saveMode=2, fileFormat=0, saveDirectory=s.winpath(shots) + "\\"))
        start_fixture(s, pos=(120, 90), size=(400, 300))
        first_screen = screen(s, "first.png")
        s.xdotool("key", "F11")
        t.message(INFO_CAPTION)

        # Another picture comes to the front, and the user asks again by key and by menu.
        start_fixture(s, caption="Second Fixture", pos=(480, 320), size=(400, 300))
        wait_for(lambda: t.probe.foreground("Second Fixture"), 5, "the second fixture is not in front")
        s.xdotool("key", "F11")
        assert t.probe.foreground(INFO_CAPTION, timeout=5000), "the waiting box was not brought forward"
        t.probe.command(FRAME, ID_CAPTURE_FULL_SCREEN)
        t.probe.command(FRAME, ID_CAPTURE_DEFAULT)  # also the icon menu's "Default"
        time.sleep(1)
        assert len(visible(t, INFO_CAPTION)) == 1, "a second capture started under the box"
        assert not shots.exists(), "saved before the box was closed"
        t.answer(INFO_CAPTION)
        assert saved(shots) == ["Kelvane_001.bmp"]
        time.sleep(1.5)
        assert sorted(f.name for f in shots.iterdir()) == ["Kelvane_001.bmp"], "a refused request captured"
        assert_same(decode_bmp(shots / "Kelvane_001.bmp"), first_screen, what="capture under the box")

        # Once the box is answered, the next request captures the screen as it is now.
        second_screen = screen(s, "second.png")
        s.xdotool("key", "F11")
        t.answer(INFO_CAPTION)
        wait_for(lambda: (shots / "Kelvane_002.bmp").exists(), 15, "the next capture was not saved")
        time.sleep(0.5)
        assert_same(decode_bmp(shots / "Kelvane_002.bmp"), second_screen, what="next capture")
        t.exit()

        # The same with the Save As dialog waiting.
        out = s.dir / "out"
        out.mkdir()
        t.start(settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=0, copyToClipboard=0,
                                saveToFile=1, saveMode=1, fileFormat=0))
        third_screen = screen(s, "third.png")
        s.xdotool("key", "F11")
        t.message(SAVE_CAPTION, timeout=15000)
        start_fixture(s, caption="Third Fixture", pos=(40, 380), size=(360, 260))
        wait_for(lambda: t.probe.foreground("Third Fixture"), 5, "the third fixture is not in front")
        s.xdotool("key", "F11")
        assert t.probe.foreground(SAVE_CAPTION, timeout=5000), "the waiting dialog was not brought forward"
        time.sleep(1)
        assert len(visible(t, SAVE_CAPTION)) == 1, "a second capture started under the dialog"
        s.xdotool("key", "alt+n", "ctrl+a")
        s.xdotool("type", "--delay", "20", s.winpath(out / "first"))
        s.xdotool("key", "Return")
        assert saved(out) == ["first.bmp"]
        assert_same(decode_bmp(out / "first.bmp"), third_screen, what="capture under the Save As dialog")

        fourth_screen = screen(s, "fourth.png")
        s.xdotool("key", "F11")
        t.message(SAVE_CAPTION, timeout=15000)
        s.xdotool("key", "alt+n", "ctrl+a")
        s.xdotool("type", "--delay", "20", s.winpath(out / "second"))
        s.xdotool("key", "Return")
        wait_for(lambda: (out / "second.bmp").exists(), 15, "the next capture was not saved")
        time.sleep(0.5)
        assert_same(decode_bmp(out / "second.bmp"), fourth_screen, what="next capture after Save As")


def scenario_running_copies_capturing_at_once_each_save_their_own_screen():
    """Three copies get the full-screen command at the same moment: two started from one folder
    (each with the settings it read at its start; they load the same agent library, whose data
    section they share) and one from a folder of its own. All agents run at once, and each copy
    saves the screen into its own folder."""
    with session("running_copies_capturing_at_once_each_save_their_own_screen") as s:
        def auto(folder, hot_key):
            return settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=0, copyToClipboard=0,
                                   saveToFile=1, saveMode=2, fileFormat=0, saveDirectory=s.winpath(folder) + "\\",
                                   hotKeyCode=hot_key)

        def frames(count):
            found = [w for w in Probe(s).windows() if w["caption"] == FRAME]
            return found if len(found) == count else None

        # F11, F9, F8: one hot-key each, so that no copy stops at "Register Hotkey failed!".
        copies = [(Tessaly(s), s.dir / "first-shots", 0x7A),
                  (Tessaly(s), s.dir / "second-shots", 0x78),
                  (Tessaly(s, s.dir / "other folder"), s.dir / "third-shots", 0x77)]
        for n, (copy, shots, hot_key) in enumerate(copies, 1):
            copy.start(auto(shots, hot_key), wait_frame=False)
            wait_for(lambda: frames(n), 20, f"copy {n} made no frame")
        for frame in frames(3):
            Probe(s).call("idle", hwnd=frame["hwnd"], timeout=20000)

        start_fixture(s, pos=(200, 150), size=(500, 350))
        expected = screen(s, "screen.png")
        assert Probe(s).command_all(FRAME, ID_CAPTURE_FULL_SCREEN)["posted"] == 3
        for _, shots, _ in copies:
            assert saved(shots) == ["Kelvane_001.bmp"], shots
            assert_same(decode_bmp(shots / "Kelvane_001.bmp"), expected, what=shots.name)
        time.sleep(1)
        for _, shots, _ in copies:
            assert sorted(f.name for f in shots.iterdir()) == ["Kelvane_001.bmp"], shots
