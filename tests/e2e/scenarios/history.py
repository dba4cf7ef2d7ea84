"""The history list: saved files appear as rows, persist in save.dat across runs, reopen in the
editor, and are deleted with or without their files; File > Open shows a picture."""
import re
import struct
import subprocess
import time
from pathlib import Path

import winenv
from lib import settings
from lib.probe import control, wait_for
from lib.tessaly import FRAME, MESSAGE_CAPTION, Tessaly

ID_FILE_OPEN_IMAGE = 32774
ID_HISTORY_DELETE_FILES, ID_HISTORY_DELETE_ALL_FILES = 32812, 32813
ID_HISTORY_DELETE_UNAVAILABLE_LINKS, ID_HISTORY_DELETE_LINKS = 32814, 32815
ID_HISTORY_ADD_LINKS = 32818
QUESTION_CAPTION, IDC_QUESTION, IDOK, IDCANCEL = "Delete files", 1042, 1, 2
OPEN_CAPTION = "Open"
TIME = re.compile(r"^\d{4}/\d\d/\d\d \d\d:\d\d:\d\d$")


def session(name):
    return winenv.WineSession("e2e.history." + name)


# -- save.dat as documented (the tests' own reading and writing) ---------------------------------
def encode_save_dat(rows):
    out = struct.pack("<ii", 101, len(rows))
    for name, location, when in rows:
        for text, size in ((name, 50), (location, 260), (when, 100)):
            raw = text.encode("latin-1")[: size - 1]
            out += raw + b"\0" * (size - len(raw))
    return out


def decode_save_dat(data):
    signature, count = struct.unpack_from("<ii", data)
    assert signature == 101 and len(data) == 8 + 410 * count, (signature, count, len(data))
    rows = []
    for i in range(count):
        record = data[8 + 410 * i: 8 + 410 * (i + 1)]
        rows.append(tuple(f.split(b"\0")[0].decode("latin-1")
                          for f in (record[:50], record[50:310], record[310:410])))
    return rows


# -- the list and the frame ------------------------------------------------------------------------
def rows(t):
    return [tuple(item["texts"]) for item in t.probe.listview(FRAME)["items"]]


def click_row(s, t, index, *modifiers, button=1, repeat=1):
    left, top, right, bottom = t.probe.listview(FRAME)["items"][index]["rect"]
    assert right > left, f"row {index} is not on screen"
    s.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2)
    time.sleep(0.2)
    for key in modifiers:
        s.xdotool("keydown", key)
    s.xdotool("click", "--repeat", repeat, "--delay", 80, button)
    for key in modifiers:
        s.xdotool("keyup", key)
    time.sleep(0.3)


def status_text(t, pane=0):
    return t.probe.status(FRAME)["parts"][pane]["text"]


def type_into_open_dialog(s, t, text):
    t.message(OPEN_CAPTION, timeout=15000)
    time.sleep(0.3)
    s.xdotool("key", "alt+n", "ctrl+a")
    s.xdotool("type", "--delay", "20", text)
    s.xdotool("key", "Return")


def open_picture(s, t, path, width, height):
    """File > Open of `path`; waits until the frame shows it."""
    t.probe.command(FRAME, ID_FILE_OPEN_IMAGE)
    type_into_open_dialog(s, t, s.winpath(path))
    wait_for(lambda: status_text(t) == f"{width}x{height},32 bits", 15, f"{path.name} was not shown")
    wait_for(lambda: t.probe.find(OPEN_CAPTION, visible=True) is None, 10, "the Open dialog stayed")


def answer_question(t, question, button=IDOK):
    dialog = t.message(QUESTION_CAPTION)
    assert control(dialog, IDC_QUESTION)["text"] == question, dialog
    t.probe.click(QUESTION_CAPTION, button, visible=True)
    wait_for(lambda: t.probe.find(QUESTION_CAPTION, visible=True) is None, 10, "the question stayed")


def answer_message(t, text):
    box = t.message(MESSAGE_CAPTION)
    assert box["text"] == text, box["text"]
    assert [c["text"] for c in box["controls"] if c["class"] == "Button"] == ["OK"], box["controls"]
    t.answer(MESSAGE_CAPTION)


def make_picture(path, width, height, colour="orange"):
    subprocess.run(["convert", "-size", f"{width}x{height}", f"xc:{colour}", f"BMP3:{path}"], check=True)
    return path


def quiet_settings(folder, s, **changes):
    base = dict(captureMode=1, playSound=0, showInfoDialog=0, showEditor=1, saveToFile=1, saveMode=2,
                saveDirectory=s.winpath(folder) + "\\")
    return settings.encode(**dict(base, **changes))


def scenario_saved_captures_listed_kept_and_reopened():
    """Three automatic saves give three rows (name, path, time) in the pane, skipping a name an
    earlier file holds; ending the session writes them to a 1238-byte save.dat, and the next run
    shows them again. File > Open ignores a second Open command and a name that does not exist,
    names a file it cannot read, and shows a picture at the frame's top-left place; a row opens
    on double-click; a row whose file was deleted by hand says "File doesn't exist! Delete this
    item!" and goes."""
    with session("saved_captures_listed_kept_and_reopened") as s:
        folder = s.dir / "shots"
        folder.mkdir()
        earlier = make_picture(folder / "Kelvane_002.bmp", 10, 10)  # not ours to overwrite
        earlier_bytes = earlier.read_bytes()
        t = Tessaly(s).start(quiet_settings(folder, s))
        for n in (1, 2, 3):
            s.xdotool("key", "F11")
            wait_for(lambda: len(rows(t)) == n, 20, f"capture {n} gave no row")
        listing = t.probe.listview(FRAME)
        assert [(c["text"], c["width"]) for c in listing["columns"]] == \
            [("Name", 100), ("Location", 300), ("Time", 200)], listing["columns"]
        first = rows(t)
        for number, (name, location, when) in zip((1, 3, 4), first):
            assert name == f"Kelvane_00{number}.bmp", first
            assert location == s.winpath(folder / name), first
            assert TIME.match(when), first
            assert (folder / name).exists()
        assert earlier.read_bytes() == earlier_bytes

        # Windows ending the session keeps the history as a confirmed exit does.
        WM_ENDSESSION = 0x0016
        t.probe.send(FRAME, WM_ENDSESSION, 1, 0)
        saved = (s.bin / "save.dat").read_bytes()
        assert len(saved) == 1238, len(saved)
        assert decode_save_dat(saved) == first
        t.exit()
        assert (s.bin / "save.dat").read_bytes() == saved
        assert settings.decode(t.settings_path.read_bytes())["nextNumber"] == 5

        t.start(t.settings_path.read_bytes())
        assert rows(t) == first
        assert not t.probe.find(FRAME)["visible"], "loading the history shows nothing"

        t.probe.command(FRAME, ID_FILE_OPEN_IMAGE)
        t.message(OPEN_CAPTION, timeout=15000)
        t.probe.command(FRAME, ID_FILE_OPEN_IMAGE)  # ignored while the dialog is up
        time.sleep(1)
        assert [w["caption"] for w in t.visible_windows()] == [OPEN_CAPTION], t.visible_windows()
        type_into_open_dialog(s, t, s.winpath(s.dir / "no such picture.bmp"))
        wait_for(lambda: not t.visible_windows(), 10, "a window stayed after a missing file")
        assert status_text(t) == "No Image."

        garbage = s.dir / "garbage.jpg"
        garbage.write_bytes(bytes(range(256)) * 8)
        t.probe.command(FRAME, ID_FILE_OPEN_IMAGE)
        type_into_open_dialog(s, t, s.winpath(garbage))
        answer_message(t, f"Can't open the image file:\n{s.winpath(garbage)}\n"
                          "It is not a BMP, GIF, JPEG or PNG picture that can be read.")
        assert status_text(t) == "No Image."

        picture = make_picture(s.dir / "picture.bmp", 200, 100)
        open_picture(s, t, picture, 200, 100)
        frame = t.probe.find(FRAME)
        assert frame["visible"] and frame["rect"][:2] == [0, 0], frame
        assert status_text(t, 1) == "100%" and status_text(t, 2) == "No Selected Area."
        assert t.probe.foreground(FRAME, timeout=5000), "the frame is not in front"
        assert rows(t) == first, "opening a file adds no row"

        click_row(s, t, 1, repeat=2)
        wait_for(lambda: status_text(t) == "1024x768,32 bits", 10, "the row's capture was not shown")

        (folder / "Kelvane_004.bmp").unlink()
        click_row(s, t, 2, repeat=2)
        answer_message(t, "File doesn't exist! Delete this item!")
        wait_for(lambda: rows(t) == first[:2], 10, "the row of the missing file stayed")
        assert status_text(t) == "1024x768,32 bits", "the image shown stays"

        damaged = Path(first[1][1].replace("Z:", "", 1).replace("\\", "/"))
        damaged.write_bytes(b"BM" + bytes(200))  # still there, but no picture any more
        click_row(s, t, 1, repeat=2)
        answer_message(t, f"Can't open the image file:\n{first[1][1]}\n"
                          "It is not a BMP, GIF, JPEG or PNG picture that can be read.")
        assert rows(t) == first[:2], "the row of a file that is there but unreadable was removed"
        assert status_text(t) == "1024x768,32 bits", "the image shown stays"
        t.exit()
        assert decode_save_dat((s.bin / "save.dat").read_bytes()) == first[:2]


def start_with_rows(s, names):
    """Files named `names` in a folder and a save.dat listing them; Tessaly started with its frame
    shown (through File > Open) and the list as the file says."""
    folder = s.dir / "files"
    folder.mkdir()
    listed = []
    for name in names:
        make_picture(folder / name, 40, 30, "teal")
        listed.append((name, s.winpath(folder / name), "2002/07/15 09:05:03"))
    (s.bin / "save.dat").write_bytes(encode_save_dat(listed))
    t = Tessaly(s).start(settings.encode(playSound=0, saveToFile=0))
    assert rows(t) == listed
    open_picture(s, t, make_picture(s.dir / "picture.bmp", 120, 90), 120, 90)
    return t, folder, listed


def scenario_deleting_selected_and_all_files():
    """Del with nothing selected asks first, then says "No files have been selected!"; Cancel
    changes nothing; two selected rows go with their files; "Delete all files" empties the list
    and the folder; exit leaves an 8-byte save.dat."""
    with session("deleting_selected_and_all_files") as s:
        names = ["a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"]
        t, folder, listed = start_with_rows(s, names)

        frame = t.probe.find(FRAME)
        s.xdotool("mousemove", frame["client"][0] + 100, frame["client"][1] + 60)
        s.xdotool("key", "Delete")
        answer_question(t, "Are you sure to delete the selected file(s)?")
        answer_message(t, "No files have been selected!")

        click_row(s, t, 0)
        s.xdotool("key", "Delete")
        answer_question(t, "Are you sure to delete the selected file(s)?", IDCANCEL)
        assert rows(t) == listed and (folder / "a.bmp").exists()

        click_row(s, t, 1)
        click_row(s, t, 3, "ctrl")
        assert t.probe.listview(FRAME)["selected"] == [1, 3]
        s.xdotool("key", "Delete")
        answer_question(t, "Are you sure to delete the selected file(s)?")
        wait_for(lambda: rows(t) == [listed[0], listed[2], listed[4]], 10, "the selected rows stayed")
        assert sorted(p.name for p in folder.iterdir()) == ["a.bmp", "c.bmp", "e.bmp"]

        t.probe.command(FRAME, ID_HISTORY_DELETE_ALL_FILES)
        answer_question(t, "Are you sure to delete all the image file(s)?")
        wait_for(lambda: rows(t) == [], 10, "rows stayed")
        assert list(folder.iterdir()) == []
        t.exit()
        assert (s.bin / "save.dat").read_bytes() == struct.pack("<ii", 101, 0)


def scenario_links_removed_added_and_opened_from_the_menu():
    """"Delete selected links" keeps the files; with nothing selected it says "No links have been
    selected!"; after a file is deleted by hand "Delete unavaiable links" removes its row; "Add
    Links..." adds several files at once, named after their last backslash; the right-click menu
    opens a row."""
    with session("links_removed_added_and_opened_from_the_menu") as s:
        t, folder, listed = start_with_rows(s, ["a.bmp", "b.bmp", "c.bmp", "d.bmp"])

        click_row(s, t, 0)
        t.probe.command(FRAME, ID_HISTORY_DELETE_LINKS)
        answer_question(t, "Are you sure to delete the selected link(s)?")
        wait_for(lambda: rows(t) == listed[1:], 10, "the selected link stayed")
        assert (folder / "a.bmp").exists(), "a link's file stays"
        t.probe.command(FRAME, ID_HISTORY_DELETE_LINKS)
        answer_question(t, "Are you sure to delete the selected link(s)?")
        answer_message(t, "No links have been selected!")

        (folder / "c.bmp").unlink()
        t.probe.command(FRAME, ID_HISTORY_DELETE_UNAVAILABLE_LINKS)
        answer_question(t, "Are you sure to delete unvailable link(s)?")
        wait_for(lambda: rows(t) == [listed[1], listed[3]], 10, "the unavailable link stayed")

        # Several files chosen at once, more than one path's length in all.
        long_names = [f"{'x' * 60}_{i}.bmp" for i in range(5)]
        for name in long_names:
            make_picture(folder / name, 8, 8)
        t.probe.command(FRAME, ID_HISTORY_ADD_LINKS)
        type_into_open_dialog(s, t, s.winpath(folder))
        time.sleep(1)
        type_into_open_dialog(s, t, " ".join(f'"{n}"' for n in long_names))
        wait_for(lambda: len(rows(t)) == 7, 15, "the links were not added")
        added = rows(t)[2:]
        assert sorted(r[0] for r in added) == long_names, added
        assert all(r[1] == s.winpath(folder / r[0]) and TIME.match(r[2]) for r in added), added

        make_picture(folder / "wide.bmp", 300, 20)
        t.probe.command(FRAME, ID_HISTORY_ADD_LINKS)
        type_into_open_dialog(s, t, s.winpath(folder / "wide.bmp"))
        wait_for(lambda: len(rows(t)) == 8, 15, "the single link was not added")
        assert rows(t)[7][:2] == ("wide.bmp", s.winpath(folder / "wide.bmp"))

        click_row(s, t, 7, button=3)
        time.sleep(0.5)
        s.xdotool("key", "Down", "Return")  # the menu's first item: "View Selected file"
        wait_for(lambda: status_text(t) == "300x20,32 bits", 10, "the row chosen in the menu was not shown")
        t.exit()
        # Names longer than 49 characters are kept cut to 49.
        assert [r[0] for r in decode_save_dat((s.bin / "save.dat").read_bytes())] == \
            ["b.bmp", "d.bmp"] + [r[0][:49] for r in added] + ["wide.bmp"]
