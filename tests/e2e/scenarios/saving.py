"""Saving: automatic numbered saves in each format, the Save As dialog with its JPEG options,
the direct grab of mode 5, and saves that cannot be written."""
import subprocess
import time

import winenv
from lib import settings
from lib.decoders import decode_bmp, decode_gif, decode_jpeg, psnr
from lib.fixture import start_fixture
from lib.images import assert_same, load_image
from lib.probe import control, wait_for
from lib.tessaly import FRAME, MESSAGE_CAPTION, Tessaly

SAVE_CAPTION = "Save As"
IDC_SETTING, IDC_TYPE_COMBO, IDC_QUALITY = 1009, 1136, 1002


def session(name):
    return winenv.WineSession("e2e.saving." + name)


def auto_settings(folder, s, **changes):
    base = dict(captureMode=1, playSound=0, showInfoDialog=0, showEditor=0, saveToFile=1,
                saveMode=2, saveDirectory=s.winpath(folder) + "\\")
    return settings.encode(**dict(base, **changes))


def wait_file(path, timeout=15):
    wait_for(lambda: path.exists() and path.stat().st_size > 0, timeout, f"{path.name} was not saved")
    time.sleep(0.3)  # let the writer finish and close it
    return path


def scenario_automatic_bmp_and_jpeg_with_numbers_that_advance():
    """F11 saves Kelvane_001.bmp (equal to the screen) into a folder made for it, then, as JPEG,
    Kelvane_002.jpg (close to the screen); nextNumber is kept at exit."""
    with session("automatic_bmp_and_jpeg_with_numbers_that_advance") as s:
        folder = s.dir / "new folder" / "shots"  # does not exist yet
        t = Tessaly(s).start(auto_settings(folder, s, fileFormat=0))
        start_fixture(s, pos=(60, 60), size=(500, 400))
        time.sleep(0.5)
        s.screenshot(s.dir / "screen.png")
        screen = load_image(s.dir / "screen.png")
        s.xdotool("key", "F11")
        bmp = wait_file(folder / "Kelvane_001.bmp")
        assert_same(decode_bmp(bmp), screen, what="automatic BMP")
        assert bmp.read_bytes()[28] == 24, "a 32-bit display gives 24-bit files"
        t.exit()
        assert settings.decode(t.settings_path.read_bytes())["nextNumber"] == 2

        data = settings.decode(t.settings_path.read_bytes())
        data.update(fileFormat=1, jpegQuality=90)
        t.start(settings.encode(**data))
        s.xdotool("key", "F11")
        jpeg = wait_file(folder / "Kelvane_002.jpg")
        # This screen's one-pixel grid in pure colours is hard on any JPEG: libjpeg's own encoder
        # at the same quality is the measure.
        reference = s.dir / "reference.jpg"
        subprocess.run(["cjpeg", "-quality", "90", "-optimize", "-outfile", str(reference), str(bmp)], check=True)
        ours, theirs = psnr(decode_jpeg(jpeg), screen), psnr(decode_jpeg(reference), screen)
        assert ours > 20 and ours > theirs - 0.1, f"JPEG PSNR {ours:.2f} dB, libjpeg {theirs:.2f} dB"
        t.exit()
        assert settings.decode(t.settings_path.read_bytes())["nextNumber"] == 3


def scenario_automatic_gif_keeps_a_few_colours_exactly():
    """A screen of a handful of colours comes back from giflib pixel for pixel."""
    with session("automatic_gif_keeps_a_few_colours_exactly") as s:
        folder = s.dir / "shots"
        t = Tessaly(s).start(auto_settings(folder, s, fileFormat=2, nextNumber=41))
        start_fixture(s, pos=(0, 0), size=(1024, 768), popup=True)
        time.sleep(0.5)
        s.screenshot(s.dir / "screen.png")
        s.xdotool("key", "F11")
        gif = wait_file(folder / "Kelvane_041.gif")
        assert gif.read_bytes()[:6] == b"GIF89a"
        assert_same(decode_gif(gif), load_image(s.dir / "screen.png"), what="automatic GIF")
        t.exit()


def scenario_save_as_dialog_with_type_switch_and_jpeg_options():
    """saveMode 1 with the editor off: the Save As dialog opens while the frame stays hidden;
    "Setting" follows the type; quality 250 is stored as 100; a typed name without extension
    gets the type's; a GIF save afterwards drops changed JPEG options."""
    with session("save_as_dialog_with_type_switch_and_jpeg_options") as s:
        out = s.dir / "out"
        out.mkdir()
        t = Tessaly(s).start(settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=0,
                                             saveMode=1, fileFormat=1))
        start_fixture(s, pos=(100, 100), size=(300, 200))
        s.xdotool("key", "F11")
        dialog = t.message(SAVE_CAPTION, timeout=15000)
        assert not t.probe.find(FRAME)["visible"]
        assert control(dialog, IDC_SETTING)["enabled"], "JPEG is selected: Setting is usable"

        def setting_enabled():
            return control(t.probe.dialog(SAVE_CAPTION), IDC_SETTING)["enabled"]
        s.xdotool("key", "alt+t")
        s.xdotool("key", "Down")  # to GIF
        wait_for(lambda: not setting_enabled(), 5, "Setting stayed enabled for GIF")
        s.xdotool("key", "Up")  # back to JPEG
        wait_for(setting_enabled, 5, "Setting stayed disabled for JPEG")

        t.probe.click(SAVE_CAPTION, IDC_SETTING)
        options = t.message("JPEG Options")
        assert control(options, IDC_QUALITY)["text"] == "75"
        t.probe.settext("JPEG Options", IDC_QUALITY, "250")
        t.answer("JPEG Options", "OK")

        s.xdotool("key", "alt+n", "ctrl+a")
        s.xdotool("type", "--delay", "20", s.winpath(out / "myshot"))
        s.xdotool("key", "Return")
        jpeg = wait_file(out / "myshot.jpg")
        assert decode_jpeg(jpeg).shape[:2] == (768, 1024)

        # Again, changing the JPEG options but saving as GIF: the options are dropped.
        s.xdotool("key", "F11")
        t.message(SAVE_CAPTION, timeout=15000)
        t.probe.click(SAVE_CAPTION, IDC_SETTING)
        t.message("JPEG Options")
        t.probe.settext("JPEG Options", IDC_QUALITY, "20")
        t.answer("JPEG Options", "OK")
        s.xdotool("key", "alt+t")
        s.xdotool("key", "Down")
        wait_for(lambda: not setting_enabled(), 5, "Setting stayed enabled for GIF")
        s.xdotool("key", "alt+n", "ctrl+a")
        s.xdotool("type", "--delay", "20", s.winpath(out / "second"))
        s.xdotool("key", "Return")
        wait_file(out / "second.gif")
        t.exit()
        stored = settings.decode(t.settings_path.read_bytes())
        assert (stored["fileFormat"], stored["jpegQuality"]) == (2, 100), stored


def scenario_direct_grab_saves_without_any_window():
    """Mode 5 with automatic saving: no window of ours appears, the file equals the screen; two
    grabs in a row save each its own screen; with the Save As mode nothing is saved."""
    with session("direct_grab_saves_without_any_window") as s:
        folder = s.dir / "grabs"
        t = Tessaly(s).start(auto_settings(folder, s, captureMode=5, showInfoDialog=1, showEditor=1))
        s.screenshot(s.dir / "screen1.png")
        s.xdotool("key", "F11")
        first = wait_file(folder / "Kelvane_001.bmp")
        assert not t.visible_windows(), t.visible_windows()
        assert_same(decode_bmp(first), load_image(s.dir / "screen1.png"), what="first grab")

        start_fixture(s, pos=(10, 10), size=(600, 500))
        time.sleep(0.5)
        s.screenshot(s.dir / "screen2.png")
        s.xdotool("key", "F11")
        second = wait_file(folder / "Kelvane_002.bmp")
        assert_same(decode_bmp(second), load_image(s.dir / "screen2.png"), what="second grab")
        assert not t.visible_windows()
        t.exit()

        data = settings.decode(t.settings_path.read_bytes())
        data.update(saveMode=1)
        t.start(settings.encode(**data))
        s.xdotool("key", "F11")
        time.sleep(2)
        assert sorted(f.name for f in folder.iterdir()) == ["Kelvane_001.bmp", "Kelvane_002.bmp"]
        assert t.probe.find(SAVE_CAPTION, visible=True) is None
        assert not t.visible_windows()

        # The grab is not lost: "Save" writes it although the view has not painted it yet.
        t.probe.command(FRAME, 32776)
        t.message(SAVE_CAPTION, timeout=15000)
        s.xdotool("key", "alt+n", "ctrl+a")
        s.xdotool("type", "--delay", "20", s.winpath(folder / "kept"))
        s.xdotool("key", "Return")
        assert_same(decode_bmp(wait_file(folder / "kept.bmp")), load_image(s.dir / "screen2.png"),
                    what="direct grab saved by hand")


def scenario_save_that_cannot_be_written_is_reported():
    """A save folder that cannot exist (a file stands in its way) is reported with its path."""
    with session("save_that_cannot_be_written_is_reported") as s:
        blocker = s.dir / "blocker"
        blocker.write_text("a file, not a folder")
        t = Tessaly(s).start(auto_settings(blocker / "shots", s))
        s.xdotool("key", "F11")
        box = t.message(MESSAGE_CAPTION, timeout=15000)
        expected = s.winpath(blocker / "shots") + "\\Kelvane_001.bmp"
        assert expected.lower() in box["text"].lower(), box["text"]
        t.answer(MESSAGE_CAPTION)
        t.exit()
        assert settings.decode(t.settings_path.read_bytes())["nextNumber"] == 2


def scenario_eight_bit_display_saves_eight_bit_files():
    """On a palette display both BMP paths write 8 bits with a 256-entry table (offset 1078)."""
    with winenv.WineSession("e2e.saving.eight_bit_display_saves_eight_bit_files", depth=8) as s:
        folder = s.dir / "shots"
        t = Tessaly(s).start(auto_settings(folder, s, captureMode=1))
        s.xdotool("key", "F11")
        agent = wait_file(folder / "Kelvane_001.bmp").read_bytes()
        t.exit()
        data = settings.decode(t.settings_path.read_bytes())
        data.update(captureMode=5)
        t.start(settings.encode(**data))
        s.xdotool("key", "F11")
        grab = wait_file(folder / "Kelvane_002.bmp").read_bytes()
        for name, bmp in (("agent capture", agent), ("direct grab", grab)):
            offset = int.from_bytes(bmp[10:14], "little")
            assert (bmp[28], offset) == (8, 1078), f"{name}: {bmp[28]} bits, pixels at {offset}"
            assert len(bmp) == 1078 + 1024 * 768, f"{name}: {len(bmp)} bytes"


def scenario_failed_save_as_over_an_existing_jpeg_keeps_it():
    """Save As over an existing .jpg with Wexbury.dll missing: "not found dll!", then the failure
    with its path; the old file is byte for byte as it was, no row is added, and neither its folder
    nor the temporary folder holds anything the save made."""
    with session("failed_save_as_over_an_existing_jpeg_keeps_it") as s:
        out = s.dir / "out"
        out.mkdir()
        old = out / "old.jpg"
        old.write_bytes(b"an earlier capture the user keeps")
        (s.bin / "Wexbury.dll").unlink()
        t = Tessaly(s).start(settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=0,
                                             saveMode=1, fileFormat=1))
        s.xdotool("key", "F11")
        t.message(SAVE_CAPTION, timeout=15000)
        s.xdotool("key", "alt+n", "ctrl+a")
        s.xdotool("type", "--delay", "20", s.winpath(old))
        s.xdotool("key", "Return")

        t.answer("Error", "Yes")  # Wine's "File already exists. Do you want to replace it?"

        def box_saying(text):
            box = t.probe.dialog(MESSAGE_CAPTION, visible=True)
            return box if box and text in box["text"] else None
        for text in ("not found dll!", "could not be saved"):
            box = wait_for(lambda: box_saying(text), 15, f"no box saying {text!r}")
            ok = [c["id"] for c in box["controls"] if c["text"].replace("&", "") == "OK"]
            t.probe.click(MESSAGE_CAPTION, ok[0], visible=True)
            wait_for(lambda: not box_saying(text), 10, f"the box saying {text!r} stayed")
        t.exit()

        assert old.read_bytes() == b"an earlier capture the user keeps"
        assert [p.name for p in out.iterdir()] == ["old.jpg"]
        left = [p for p in (s.prefix / "drive_c").rglob("*") if p.name.startswith("tsc") or "##temp##" in p.name]
        assert not left, left
        assert b"old.jpg" not in ((s.bin / "save.dat").read_bytes() if (s.bin / "save.dat").exists() else b"")
