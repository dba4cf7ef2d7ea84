"""PNG: chosen on the Edit page and in the Save As dialog, saved exactly as the screen showed,
listed in the history; and an 8K PNG opened, zoomed, cropped and saved again."""
import time

import numpy as np
from PIL import Image

import winenv
from lib import settings
from lib.decoders import decode_png
from lib.editor_view import EditorView
from lib.fixture import start_fixture
from lib.images import assert_same, load_image
from lib.probe import control, wait_for
from lib.tessaly import FRAME, Tessaly
from scenarios.configure import FORMAT, IDOK, SAMPLE, SETTING, Sheet
from scenarios.editor import ID_COPY, ID_CROP, ID_SAVE, ID_SELECT, ID_ZOOM_IN, ID_ZOOM_OUT, command
from scenarios.history import open_picture, rows

SAVE_CAPTION = "Save As"
IDC_SAVE_SETTING = 1009
PNG = 3


def session(name):
    return winenv.WineSession("e2e.png." + name)


def wait_file(path, timeout=30):
    wait_for(lambda: path.exists() and path.stat().st_size > 0, timeout, f"{path.name} was not saved")
    time.sleep(0.5)  # the file appears in one step; let the writer return
    return path


def clipboard_formats(t, s):
    look = wait_for(lambda: t.probe.clipboard(s.dir / "clipboard.bmp", timeout=2000), 10, "no clipboard")
    return [f["name"] for f in look["formats"]]


def type_name_and_save(s, path):
    s.xdotool("key", "alt+n", "ctrl+a")
    s.xdotool("type", "--delay", "20", s.winpath(path))
    s.xdotool("key", "Return")


def scenario_png_from_the_edit_page_and_the_save_as_dialog():
    """"png" chosen on the Edit page is stored as format 3 and the next F11 saves Kelvane_001.png,
    equal to the screen and listed in the history, and puts "PNG" on the clipboard beside the
    bitmap; the Save As dialog's PNG type (Setting off) gives a typed name without extension ".png"
    and is stored too."""
    with session("png_from_the_edit_page_and_the_save_as_dialog") as s:
        folder = s.dir / "shots"
        folder.mkdir()  # OK on the sheet keeps only a folder that exists
        t = Tessaly(s).start(settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=0,
                                             saveToFile=1, saveMode=2, fileFormat=0, copyToClipboard=1,
                                             saveDirectory=s.winpath(folder) + "\\"))
        start_fixture(s, pos=(60, 60), size=(500, 400))
        sheet = Sheet.open(t)
        sheet.show(1, "Edit")
        assert sheet.control("Edit", SAMPLE)["text"].endswith(".bmp")
        sheet.choose_format(PNG)
        wait_for(lambda: sheet.control("Edit", SAMPLE)["text"].endswith(".png"), 5,
                 "the sample did not follow png")
        assert sheet.control("Edit", FORMAT)["text"] == "png"
        assert not sheet.control("Edit", SETTING)["enabled"], "Setting is for jpg only"
        sheet.close(IDOK)

        time.sleep(0.5)
        s.screenshot(s.dir / "screen.png")
        s.xdotool("key", "F11")
        png = wait_file(folder / "Kelvane_001.png")
        assert_same(decode_png(png), load_image(s.dir / "screen.png"), what="automatic PNG")
        wait_for(lambda: any(r[0] == "Kelvane_001.png" for r in rows(t)), 10, "no history row for the PNG")
        formats = clipboard_formats(t, s)
        assert "PNG" in formats and "CF_BITMAP" in formats, formats
        t.exit()
        stored = settings.decode(t.settings_path.read_bytes())
        assert (stored["fileFormat"], stored["nextNumber"]) == (PNG, 2), stored

        # The Save As dialog, opened on BMP: its fourth type is PNG.
        out = s.dir / "out"
        out.mkdir()
        t.start(settings.encode(**dict(stored, saveMode=1, fileFormat=0)))
        s.xdotool("key", "F11")
        dialog = t.message(SAVE_CAPTION, timeout=15000)
        assert not control(dialog, IDC_SAVE_SETTING)["enabled"]
        s.xdotool("key", "alt+t")
        s.xdotool("key", "Down", "Down")  # JPEG, then GIF
        s.xdotool("key", "Down")          # PNG
        time.sleep(0.5)
        assert not control(t.probe.dialog(SAVE_CAPTION), IDC_SAVE_SETTING)["enabled"]
        type_name_and_save(s, out / "myshot")
        saved = wait_file(out / "myshot.png")
        assert decode_png(saved).shape[:2] == (768, 1024)
        t.exit()
        assert settings.decode(t.settings_path.read_bytes())["fileFormat"] == PNG


def make_8k_png(path):
    """7680 x 4320: bands of flat colour with a gradient strip, so that a crop has a known place."""
    width, height = 7680, 4320
    picture = np.zeros((height, width, 3), dtype=np.uint8)
    xs = np.arange(width, dtype=np.uint32)
    ys = np.arange(height, dtype=np.uint32)
    picture[:, :, 0] = (xs[None, :] // 64 * 37 % 256).astype(np.uint8)
    picture[:, :, 1] = (ys[:, None] // 48 * 53 % 256).astype(np.uint8)
    picture[:, :, 2] = ((xs[None, :] + ys[:, None]) % 256).astype(np.uint8)
    Image.fromarray(picture).save(path, compress_level=1)
    return picture


def scenario_an_8k_png_opens_zooms_crops_and_saves():
    """The largest picture the program holds opens (32-bit program, large-address-aware), zooms out
    and in again, crops to a dragged selection and saves as PNG; both the crop and a save of the
    whole picture decode to exactly its pixels."""
    with session("an_8k_png_opens_zooms_crops_and_saves") as s:
        picture = make_8k_png(s.dir / "big.png")
        t = Tessaly(s).start(settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=1,
                                             saveToFile=0, saveMode=1, fileFormat=PNG))
        open_picture(s, t, s.dir / "big.png", 7680, 4320)
        view = EditorView(t)
        view.wait_panes("7680x4320,32 bits", "100%")

        t.probe.command(FRAME, ID_SAVE)
        t.message(SAVE_CAPTION, timeout=15000)
        time.sleep(0.3)
        type_name_and_save(s, s.dir / "whole.png")
        whole = wait_file(s.dir / "whole.png", timeout=120)
        wait_for(lambda: t.probe.find(SAVE_CAPTION, visible=True) is None, 60, "Save As stayed")
        assert np.array_equal(decode_png(whole), picture), "the whole 8K picture came back different"

        command(t, view, ID_ZOOM_OUT)
        wait_for(lambda: view.panes()[1] != "100%", 15, "zoom out did nothing")
        command(t, view, ID_ZOOM_IN, None, "100%")

        command(t, view, ID_SELECT)
        view.drag((10, 10), (209, 109))
        view.wait_panes(None, None, "The selected Area Size:200x100")
        command(t, view, ID_CROP, "200x100,32 bits")
        command(t, view, ID_COPY)
        formats = wait_for(lambda: "PNG" in clipboard_formats(t, s) and clipboard_formats(t, s), 10,
                           "the editor's copy offers no PNG")
        assert "CF_BITMAP" in formats, formats
        t.probe.command(FRAME, ID_SAVE)
        t.message(SAVE_CAPTION, timeout=15000)
        time.sleep(0.3)
        type_name_and_save(s, s.dir / "crop.png")
        crop = wait_file(s.dir / "crop.png")
        assert_same(decode_png(crop), picture[10:110, 10:210], what="the saved crop")
        t.exit()
