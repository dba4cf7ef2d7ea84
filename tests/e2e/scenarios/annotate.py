"""The editor's drawing tools on a capture of the fixture: each tool chosen by its toolbar button and
by its key, disabled without an image; pen, rectangle (at 300 %), highlighter, arrow (Shift), pixelate
and two text labels drawn and found at their image coordinates in the saved file; Enter and Del reach
the label, not the frame; each mark one step that Undo and Redo restore exactly; the colour and width
kept in annotate.dat."""
import time

import numpy as np

import winenv
from lib import settings
from lib.decoders import decode_bmp
from lib.editor_view import EditorView, expected_view, placed_rect
from lib.fixture import start_fixture
from lib.images import crop, load_image
from lib.probe import menu_item, wait_for
from lib.tessaly import FRAME, Tessaly

ID_SAVE, ID_UNDO, ID_REDO = 32776, 32782, 32783
ID_SELECT, ID_ZOOM_OUT, ID_ZOOM_IN, ID_MOVE = 32785, 32791, 32792, 32796
ID_PEN, ID_ARROW, ID_RECTANGLE, ID_HIGHLIGHTER, ID_TEXT, ID_PIXELATE = range(33100, 33106)
ID_COLOUR, ID_WIDTH_2, ID_WIDTH_4, ID_WIDTH_8 = 33106, 33107, 33108, 33109
TOOLS = [ID_PEN, ID_ARROW, ID_RECTANGLE, ID_HIGHLIGHTER, ID_TEXT, ID_PIXELATE]
KEYS = {ID_PEN: "p", ID_ARROW: "a", ID_RECTANGLE: "r", ID_HIGHLIGHTER: "h", ID_TEXT: "t", ID_PIXELATE: "x"}
SAVE_AS, COLOUR_DIALOG, IDOK = "Save As", "Color", 1
INK = (250, 0, 250)  # chosen in the colour dialog: none of the fixture's colours


def session(name):
    return winenv.WineSession("e2e.annotate." + name)


def menu_state(t, command_id):
    item = menu_item(t.probe.menu(FRAME, init=True), command_id)
    return ("grayed" if item["grayed"] else "enabled", bool(item["checked"]))


def buttons(t):
    return {b["id"]: b for b in t.probe.toolbar(FRAME)["buttons"] if b["id"]}


def wait_checked(t, checked_id, what):
    def states():
        return {i: bool(buttons(t)[i]["checked"]) for i in TOOLS + [ID_SELECT]}
    expected = {i: i == checked_id for i in TOOLS + [ID_SELECT]}
    try:
        wait_for(lambda: states() == expected, 10)
    except AssertionError:
        raise AssertionError(f"{what}: checked {states()}, expected only {checked_id}") from None


def click_button(s, t, command_id):
    left, top, right, bottom = buttons(t)[command_id]["rect"]
    s.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2)
    s.xdotool("click", "1")


def save_as(t, s, path):
    t.probe.command(FRAME, ID_SAVE)
    t.message(SAVE_AS, timeout=15000)
    time.sleep(0.3)
    s.xdotool("key", "alt+n", "ctrl+a")
    s.xdotool("type", "--delay", "20", s.winpath(path))
    s.xdotool("key", "Return")
    wait_for(lambda: path.exists() and path.stat().st_size > 0, 15, f"{path.name} was not saved")
    time.sleep(0.3)
    return decode_bmp(path)


def multiplied(pixels, colour):
    return ((pixels.astype(np.int32) * np.array(colour) + 127) // 255).astype(np.uint8)


def scenario_every_tool_draws_where_the_mouse_was_and_undoes_exactly():
    with session("every_tool_draws_where_the_mouse_was_and_undoes_exactly") as s:
        t = Tessaly(s).start(settings.encode(captureMode=2, playSound=0, showInfoDialog=0, showEditor=1,
                                             copyToClipboard=0, saveToFile=0))
        t.probe.show(FRAME, 1)
        wait_for(lambda: t.probe.find(FRAME, visible=True), 10, "the frame was not shown")
        # Without an image every tool is disabled, on the toolbar and in the Edit menu, and its key
        # does nothing.
        wait_for(lambda: all(not buttons(t)[i]["enabled"] for i in TOOLS), 10, "tools enabled without an image")
        assert all(menu_state(t, i)[0] == "grayed" for i in TOOLS)
        # The colour and a width are chosen (annotate.dat keeps them).
        t.probe.command(FRAME, ID_COLOUR)
        t.message(COLOUR_DIALOG)
        for edit, value in zip((706, 707, 708), INK):
            t.probe.settext(COLOUR_DIALOG, edit, value)
        t.probe.click(COLOUR_DIALOG, IDOK)
        t.probe.command(FRAME, ID_WIDTH_8)
        t.probe.command(FRAME, ID_WIDTH_4)
        wait_for(lambda: menu_state(t, ID_WIDTH_4)[1] and not menu_state(t, ID_WIDTH_8)[1], 5, "width 4 not checked")
        stored = s.bin / "annotate.dat"
        wait_for(lambda: stored.exists() and stored.read_bytes() == b"TANN" + bytes((250, 0, 250, 0, 4, 0, 0, 0)),
                 5, "annotate.dat does not hold the colour and width")

        f = start_fixture(s, pos=(150, 120), size=(320, 240))
        time.sleep(0.5)
        s.screenshot(s.dir / "screen.png")
        picture = crop(load_image(s.dir / "screen.png"), f.window["rect"])
        s.xdotool("key", "F11")
        wait_for(lambda: t.probe.find(FRAME, visible=True), 15, "the editor did not come back")
        view = EditorView(t)
        view.wait_panes("320x240,32 bits", "100%", "No Selected Area.")
        f.close()
        size = view.size()
        origin = placed_rect(size, (320, 240))[:2]
        view.wait_showing(expected_view(picture, size, 100), "the capture")

        def at(x, y):  # client point over image pixel (x, y) at 100 %
            return origin[0] + x, origin[1] + y

        # Every tool by its button and by its key; Escape goes back to Select.
        for tool in TOOLS:
            click_button(s, t, tool)
            wait_checked(t, tool, f"button {tool}")
        s.xdotool("key", "Escape")
        wait_checked(t, ID_SELECT, "Escape")
        for tool in TOOLS:
            s.xdotool("mousemove", *view.screen_point(*at(300, 5)))
            s.xdotool("key", KEYS[tool])
            wait_checked(t, tool, f"key {KEYS[tool]}")
        assert menu_state(t, ID_PIXELATE) == ("enabled", True)

        shots = [view.shot()]

        def mark_done(what):
            wait_for(lambda: menu_state(t, ID_UNDO)[0] == "enabled", 5)
            time.sleep(0.3)
            shots.append(view.shot())
            assert not (shots[-1] == shots[-2]).all(), f"{what} left no mark"

        # Pen (key): a stroke along image row 30.
        s.xdotool("key", "p")
        view.drag(at(20, 30), at(120, 30), steps=10)
        mark_done("the pen")

        # Rectangle (key) at 300 %: the mouse over image pixels (170, 20) and (220, 70).
        s.xdotool("key", "r")
        for zoom in (200, 300):
            t.probe.command(FRAME, ID_ZOOM_OUT)
            view.wait_panes(None, f"{zoom}%")
        big = view.size()
        assert big[0] > 3 * 222 and big[1] > 3 * 72, f"the view is too small for the 300 % check: {big}"
        now = crop(shots[-1], placed_rect(size, (320, 240)))
        view.wait_showing(expected_view(now, big, 300), "the pen's image at 300 %")
        view.drag((3 * 170 + 1, 3 * 20 + 1), (3 * 220 + 2, 3 * 70 + 1), steps=6)
        wait_for(lambda: menu_state(t, ID_UNDO)[0] == "enabled", 5)
        for zoom in (200, 100):
            t.probe.command(FRAME, ID_ZOOM_IN)
            view.wait_panes(None, f"{zoom}%")
        mark_done("the rectangle")

        # Highlighter (key) across image row 150.
        s.xdotool("key", "h")
        view.drag(at(20, 150), at(140, 150), steps=8)
        mark_done("the highlighter")

        # Arrow (button) with Shift: the end 6 pixels off the row snaps back onto it.
        click_button(s, t, ID_ARROW)
        wait_checked(t, ID_ARROW, "the arrow button")
        s.xdotool("keydown", "shift")
        view.drag(at(180, 140), at(290, 146), steps=8)
        s.xdotool("keyup", "shift")
        mark_done("the arrow")

        # Pixelate (key) over an area with the fixture's grid lines in it.
        s.xdotool("mousemove", *view.screen_point(*at(300, 5)))
        s.xdotool("key", "x")
        view.drag(at(180, 170), at(300, 230), steps=5)
        mark_done("pixelate")

        # Two text labels (button) at width 2, 80 pixels apart on the fixture's flat cyan panel: one
        # typed with a mistake removed by Left and Del, one typed straight; Enter starts the second
        # line, Enter on the empty line ends the label. Neither Enter nor Del reaches the frame.
        t.probe.command(FRAME, ID_WIDTH_2)
        click_button(s, t, ID_TEXT)
        wait_checked(t, ID_TEXT, "the text button")
        a, b = (24, 192), (104, 192)
        assert (picture[191:236, 22:98] == picture[191:236, 102:178]).all(), "the labels' backgrounds differ"
        s.xdotool("mousemove", *view.screen_point(*at(*a)))
        s.xdotool("click", "1")
        s.xdotool("type", "--delay", "30", "yoX")
        s.xdotool("key", "Left", "Delete", "Return")
        s.xdotool("type", "--delay", "30", "Hi")
        s.xdotool("key", "Return", "Return")
        mark_done("the first label")
        s.xdotool("mousemove", *view.screen_point(*at(*b)))
        s.xdotool("click", "1")
        s.xdotool("type", "--delay", "30", "yo")
        s.xdotool("key", "Return")
        s.xdotool("type", "--delay", "30", "Hi")
        s.xdotool("key", "Return", "Return")
        mark_done("the second label")
        assert t.probe.find("Delete files") is None, "Del reached the history list"
        assert view.panes()[0] == "320x240,32 bits", view.panes()

        saved = save_as(t, s, s.dir / "marked.bmp")
        assert (saved == crop(shots[-1], placed_rect(size, (320, 240)))).all(), "the saved file is not the view"
        ink = np.array(INK, dtype=np.uint8)
        changed = np.zeros(saved.shape[:2], dtype=bool)

        def region(top, bottom, left, right):
            changed[top:bottom, left:right] = True
            return saved[top:bottom, left:right]

        # Pen, width 4 centred on row 30.5: rows 29 to 31 full from x 20 to 120.
        assert (saved[29:32, 20:121] == ink).all(), "the pen's stroke is not on rows 29-31"
        region(26, 36, 15, 126)
        # Rectangle: a band of 4 centred on the pixel centres of columns 170 and 220, rows 20 and 70.
        for band in (saved[20:71, 169:172], saved[20:71, 219:222], saved[19:22, 170:221], saved[69:72, 170:221]):
            assert (band == ink).all(), "the rectangle's outline is not where the mouse was at 300 %"
        assert (saved[24:67, 174:217] == picture[24:67, 174:217]).all(), "the rectangle's inside changed"
        region(15, 76, 165, 226)
        # Highlighter: rows 145 to 155 multiplied by the colour; dark pixels stay dark.
        assert (saved[146:155, 26:135] == multiplied(picture[146:155, 26:135], INK)).all(), "not multiplied"
        region(140, 161, 12, 149)
        # Arrow: snapped to row 140 (Shift), so row 144 is untouched at x 250 where an unsnapped
        # line would pass.
        assert (saved[139:142, 185:265] == ink).all(), "the arrow's shaft is not on row 140"
        assert (saved[144, 240:256] == picture[144, 240:256]).all(), "the arrow was not snapped"
        assert (saved[133:148, 272] == ink).all() and (saved[140, 284:289] == ink).all(), "no arrow head at the end"
        region(126, 156, 175, 296)
        # Pixelate: blocks of 8 from (180, 170) over 121 x 61 pixels; one colour each, none equal to
        # the original pixel under it.
        area = region(170, 231, 180, 301)
        original = picture[170:231, 180:301]
        assert not (area == original).all(axis=2).any(), "a pixel of the original survived"
        for by in range(0, 61, 8):
            for bx in range(0, 121, 8):
                block = area[by:by + 8, bx:bx + 8].reshape(-1, 3)
                assert (block == block[0]).all(), f"detail in the block at {bx}, {by}"
        # The labels: both lines inked, and the corrected one identical to the straight one.
        first, second = region(191, 236, 22, 98), region(191, 236, 102, 178)
        assert (first == second).all(), "Left and Del did not edit the label"
        inked = (first == ink).all(axis=2)
        assert inked[2:20].any() and inked[25:].any(), "the label has not two lines"
        # Nothing else changed.
        assert (saved[~changed] == picture[~changed]).all(), "pixels changed outside the marks"

        # Each mark one step: five Undo steps give the states back exactly (the ring keeps six),
        # the rectangle's state at the 200 % it was left at (landing on 100 % rewrites no state),
        # then Redo brings them all back.
        placed = placed_rect(size, (320, 240))
        for expected in reversed(shots[3:7]):
            t.probe.command(FRAME, ID_UNDO)
            view.wait_showing(expected, "the state before a mark after Undo")
        t.probe.command(FRAME, ID_UNDO)
        view.wait_panes(None, "200%")
        view.wait_showing(expected_view(crop(shots[2], placed), view.size(), 200), "the rectangle's state")
        assert menu_state(t, ID_UNDO)[0] == "grayed"
        for expected in shots[3:]:
            t.probe.command(FRAME, ID_REDO)
            view.wait_showing(expected, "the mark after Redo")
