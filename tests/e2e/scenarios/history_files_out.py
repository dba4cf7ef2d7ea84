"""History rows handed to other programs as files: dragged out onto a drop target, copied to the
clipboard in the shell's file-drop format, and shown in Explorer."""
import time

import winenv
from lib.fixture import start_fixture
from lib.probe import wait_for
from lib.tessaly import FRAME
from scenarios.history import answer_message, click_row, start_with_rows

ID_HISTORY_COPY_FILE, ID_HISTORY_OPEN_FOLDER = 33280, 33281
CF_HDROP = 15


def clipboard_formats(t, s):
    return [f["name"] or f["id"] for f in (t.probe.clipboard(s.dir / "unused.bmp") or {}).get("formats", [])]


def scenario_rows_dragged_copied_and_shown_as_files():
    """Two rows copied put the file-drop format (to be copied, not moved) on the clipboard; a row
    whose file is gone says so; a row dragged onto a drop target arrives there as its file's path;
    "Open containing folder" opens Explorer on the file's folder."""
    with winenv.WineSession("e2e.history_files_out.rows_dragged_copied_and_shown_as_files") as s:
        t, folder, listed = start_with_rows(s, ["a.bmp", "b b.bmp", "c.bmp"])

        click_row(s, t, 0)
        click_row(s, t, 1, "ctrl")
        t.probe.command(FRAME, ID_HISTORY_COPY_FILE)
        formats = wait_for(lambda: "CF_HDROP" in clipboard_formats(t, s) and clipboard_formats(t, s), 10,
                           "no file-drop format on the clipboard")
        assert "Preferred DropEffect" in formats, formats

        (folder / "c.bmp").unlink()
        click_row(s, t, 2)
        t.probe.command(FRAME, ID_HISTORY_COPY_FILE)
        answer_message(t, "The selected file(s) cannot be found.")

        frame = t.probe.find(FRAME)
        target = start_fixture(s, caption="Drop Target", pos=(frame["rect"][2] + 20, 420), size=(240, 200),
                               droptarget=True)
        assert "droptarget-failed" not in [e["event"] for e in target.events()], target.events()
        row = t.probe.listview(FRAME)["items"][1]["rect"]
        click_row(s, t, 1)
        time.sleep(0.8)  # a press this soon after the click would make a double-click
        s.xdotool("mousemove", (row[0] + row[2]) // 2, (row[1] + row[3]) // 2)
        s.xdotool("mousedown", "1")
        left, top, right, bottom = target.window["rect"]
        for step in range(1, 9):  # past the drag threshold, then over the target
            x = (row[0] + row[2]) // 2 + step * ((left + right) // 2 - (row[0] + row[2]) // 2) // 8
            y = (row[1] + row[3]) // 2 + step * ((top + bottom) // 2 - (row[1] + row[3]) // 2) // 8
            s.xdotool("mousemove", x, y)
            time.sleep(0.15)
        s.xdotool("mouseup", "1")
        dropped = wait_for(lambda: [e["text"] for e in target.events() if e["event"] == "drop"], 10,
                           f"nothing arrived on the drop target: {target.events()}")
        assert [p.lower() for p in dropped] == [listed[1][1].lower()], dropped

        before = {w["hwnd"] for w in t.probe.windows(visible=True)}
        click_row(s, t, 0)
        t.probe.command(FRAME, ID_HISTORY_OPEN_FOLDER)
        explorer = wait_for(lambda: [w for w in t.probe.windows(visible=True)
                                     if w["hwnd"] not in before and folder.name in (w.get("caption") or "")],
                            15, "no Explorer window on the files' folder")
        t.probe.close(None, hwnd=explorer[0]["hwnd"])
