"""The image editor on screen: the view's pixels at each zoom and after panning, the Select tool
with its frame, Copy Selected Area, Crop, Undo and Redo, Resize and Rotate through their dialogs,
Clear, the background colour, commands refused by their rules, and the direct grab shown at the
next paint at 100 %."""
import time

import numpy as np

import winenv
from lib import settings
from lib.decoders import decode_bmp
from lib.editor_view import BACKGROUND, EditorView, expected_view, placed_rect
from lib.fixture import start_fixture
from lib.images import assert_same, crop, load_image, rect_mask
from lib.probe import control, menu_item, wait_for
from lib.tessaly import FRAME, MESSAGE_CAPTION, Tessaly

ID_SAVE, ID_CLEAR, ID_UNDO, ID_REDO, ID_COPY = 32776, 32777, 32782, 32783, 32784
ID_SELECT, ID_ZOOM_OUT, ID_ZOOM_IN, ID_CROP = 32785, 32791, 32792, 32793
ID_RESIZE, ID_MOVE, ID_ROTATE, ID_COPY_SELECTION, ID_BACKGROUND = 32795, 32796, 32798, 32799, 32807
RESIZE, ROTATE, SAVE_AS, COLOUR = "Resize", "Rotate", "Save As", "Color"
IDC_WIDTH, IDC_HEIGHT, IDC_KEEP_RATIO, IDC_RESET = 1022, 1006, 1008, 1009
IDC_90, IDC_180, IDC_270 = 1004, 1005, 1006
IDOK, IDCANCEL = 1, 2
CYAN = (0, 255, 255)


def session(name):
    return winenv.WineSession("e2e.editor." + name)


def capture_fixture(s, **changes):
    """Tessaly set to capture the active window with the editor coming back, and one capture of a
    320 x 240 fixture window taken: returns (t, view, the picture as the screen showed it)."""
    base = dict(captureMode=2, playSound=0, showInfoDialog=0, showEditor=1, copyToClipboard=0,
                saveToFile=0)
    t = Tessaly(s).start(settings.encode(**dict(base, **changes)))
    f = start_fixture(s, pos=(150, 120), size=(320, 240))
    time.sleep(0.5)
    s.screenshot(s.dir / "screen.png")
    picture = crop(load_image(s.dir / "screen.png"), f.window["rect"])
    s.xdotool("key", "F11")
    wait_for(lambda: t.probe.find(FRAME, visible=True), 15, "the editor did not come back")
    view = EditorView(t)
    view.wait_panes("320x240,32 bits", "100%", "No Selected Area.")
    f.close()
    return t, view, picture


def deep_inside(picture, colour, margin=3):
    """(y, x) of a pixel of `colour` whose neighbours `margin` pixels around share it, so that any
    sampling of a reduced copy still finds the colour there."""
    same = (picture == colour).all(axis=2)
    core = same.copy()
    for dy in range(-margin, margin + 1):
        for dx in range(-margin, margin + 1):
            core &= np.roll(np.roll(same, dy, axis=0), dx, axis=1)
    ys, xs = np.nonzero(core)
    assert len(ys), f"no area of {colour} in the picture"
    return ys[len(ys) // 2], xs[len(xs) // 2]


def command(t, view, command_id, *panes):
    t.probe.command(FRAME, command_id)
    if panes:
        view.wait_panes(*panes)


def menu_state(t, command_id):
    item = menu_item(t.probe.menu(FRAME, init=True), command_id)
    return "grayed" if item["grayed"] else "enabled"


def wait_buttons(t, expected, what):
    """Waits until the toolbar's buttons read `expected`: {id: (enabled, checked)}."""
    def states():
        return {b["id"]: (bool(b["enabled"]), bool(b["checked"])) for b in t.probe.toolbar(FRAME)["buttons"]
                if b["id"] in expected}
    try:
        wait_for(lambda: states() == expected, 10)
    except AssertionError:
        raise AssertionError(f"toolbar {what}: {states()}, expected {expected}") from None


def clipboard_picture(t, s, name):
    path = s.dir / name
    result = wait_for(lambda: (t.probe.clipboard(path) or {}).get("image"), 10, "nothing on the clipboard")
    return load_image(path), result


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


def scenario_display_zoom_and_pan_follow_the_arithmetic():
    """A 320 x 240 capture shown centred at 100 %, enlarged by whole pixels at 300 % and 600 %,
    panned by a drag of the hand (the partly visible first pixel drawn shifted), reduced by area
    average and centred at 50 %, held at the 10 % and 600 % limits; Clear, then a new background colour."""
    with session("display_zoom_and_pan_follow_the_arithmetic") as s:
        t, view, picture = capture_fixture(s)
        size = view.size()
        view.wait_showing(expected_view(picture, size, 100), "the capture centred at 100 %")

        for zoom in (200, 300):
            command(t, view, ID_ZOOM_OUT, None, f"{zoom}%")
        size = view.size()  # scroll bars now
        view.wait_showing(expected_view(picture, size, 300), "the capture at 300 %")

        # The hand pulls the image 7 pixels left and 5 up: scroll position (7, 5).
        centre = (size[0] // 2, size[1] // 2)
        view.drag(centre, (centre[0] - 7, centre[1] - 5), steps=7)
        view.wait_showing(expected_view(picture, size, 300, (7, 5)), "the capture at 300 % scrolled to (7, 5)")

        command(t, view, ID_ZOOM_IN, None, "200%")
        command(t, view, ID_ZOOM_IN, None, "100%")
        for zoom in (90, 80, 70, 60, 50):
            command(t, view, ID_ZOOM_IN, None, f"{zoom}%")
        size = view.size()
        # The reduced copy: where it is, the middle of the fixture's cyan panel still cyan, and
        # every view pixel the average of the 2 x 2 capture pixels it covers, so the text's thin
        # strokes show as grey levels between ink and paper instead of kept or dropped columns.
        placed = placed_rect(size, (160, 120))
        shown = view.shot()
        assert (shown[rect_mask(shown.shape, [placed])] == BACKGROUND).all(), "background around 50 %"
        inside = crop(shown, placed)
        assert not (inside == BACKGROUND).all(axis=2).any(axis=1).all(), "nothing drawn at 50 %"
        py, px = deep_inside(picture, CYAN)
        assert tuple(inside[py // 2, px // 2]) == CYAN, (px, py, inside[py // 2, px // 2])
        quads = picture.astype(np.int32).reshape(120, 2, 160, 2, 3)
        averaged = quads.sum(axis=(1, 3)) / 4.0
        off = np.abs(inside.astype(np.float64) - averaged)
        assert off.max() <= 1.0, f"50 % is not the area average: {off.max()} levels off at " \
                                 f"{np.unravel_index(off.argmax(), off.shape)}"
        # The capture has mixed 2 x 2 squares (edges, strokes): they show as new in-between levels.
        mixed = (quads.max(axis=(1, 3)) != quads.min(axis=(1, 3))).any(axis=2)
        assert mixed.sum() > 100, "the fixture has too few edges to tell averaging from dropping"
        kept_colours = {tuple(c) for c in picture.reshape(-1, 3)}
        in_between = sum(tuple(c) not in kept_colours for c in inside[mixed])
        assert in_between > mixed.sum() // 2, (in_between, mixed.sum())

        for zoom in (40, 30, 20, 10, 10):
            command(t, view, ID_ZOOM_IN, None, f"{zoom}%")
        for _ in range(9):
            t.probe.command(FRAME, ID_ZOOM_OUT)
        view.wait_panes(None, "100%")
        for zoom in (200, 300, 400, 500, 600, 600):
            command(t, view, ID_ZOOM_OUT, None, f"{zoom}%")
        view.wait_showing(expected_view(picture, view.size(), 600), "the capture at 600 %")

        command(t, view, ID_CLEAR, "No Image.", "", "")
        size = view.size()
        view.wait_showing(expected_view(picture[:0, :0], size, 100), "only the background after Clear")
        assert menu_state(t, ID_CLEAR) == "grayed"

        # The colour dialog opens on black, not on the colour in use.
        t.probe.command(FRAME, ID_BACKGROUND)
        box = t.message(COLOUR)
        assert [control(box, i)["text"] for i in (706, 707, 708)] == ["0", "0", "0"], box["controls"]
        for edit, value in ((706, 200), (707, 10), (708, 20)):
            t.probe.settext(COLOUR, edit, value)
        t.probe.click(COLOUR, IDOK)
        view.wait_showing(expected_view(picture[:0, :0], size, 100, background=(200, 10, 20)),
                          "the new background colour")


def scenario_selection_crop_copy_undo_and_redo():
    """A selection dragged with the mouse shows its size and its marching ants; Copy Selected Area
    and Crop take exactly its pixels (status bar, view and saved file); Ctrl+Z and Ctrl+Y undo and
    redo; a crop after Undo leaves nothing to redo; commands whose rule says no do nothing."""
    with session("selection_crop_copy_undo_and_redo") as s:
        t, view, picture = capture_fixture(s)
        full = expected_view(picture, view.size(), 100)
        view.wait_showing(full, "the capture")

        # A capture brings the Move tool; what needs a selection or a state to go back to waits.
        on, off = (True, False), (False, False)
        wait_buttons(t, {ID_MOVE: (True, True), ID_SELECT: on, ID_CROP: off, ID_COPY_SELECTION: off,
                         ID_UNDO: off, ID_REDO: off, ID_COPY: on, ID_RESIZE: on, ID_ROTATE: on,
                         ID_ZOOM_IN: on, ID_ZOOM_OUT: on, ID_CLEAR: on}, "after a capture")

        # No selection yet: Crop (posted as from a menu) and Ctrl+Z are refused by their rules.
        assert menu_state(t, ID_UNDO) == "grayed" and menu_state(t, ID_CROP) == "grayed"
        t.probe.command(FRAME, ID_CROP)
        s.xdotool("mousemove", *view.screen_point(5, 5))
        s.xdotool("key", "ctrl+z")
        time.sleep(1)
        assert view.panes()[0] == "320x240,32 bits", view.panes()
        view.wait_showing(full, "the capture, unchanged")

        command(t, view, ID_SELECT)
        wait_for(lambda: menu_state(t, ID_COPY_SELECTION) == "grayed", 5)
        origin = placed_rect(view.size(), (320, 240))[:2]
        view.drag((origin[0] + 10, origin[1] + 10), (origin[0] + 59, origin[1] + 39))
        view.wait_panes(None, None, "The selected Area Size:50x30")
        wait_buttons(t, {ID_MOVE: on, ID_SELECT: (True, True), ID_CROP: on, ID_COPY_SELECTION: on},
                     "with a selection")
        # The frame runs along the selection's top edge in black and white dashes.
        time.sleep(0.3)
        edge = view.shot()[origin[1] + 10, origin[0] + 10:origin[0] + 60]
        colours = {tuple(int(v) for v in p) for p in edge}
        assert colours == {(0, 0, 0), (255, 255, 255)}, colours

        command(t, view, ID_COPY_SELECTION)
        copied, image = clipboard_picture(t, s, "selection.bmp")
        assert (image["width"], image["height"]) == (50, 30), image
        assert_same(copied, picture[10:40, 10:60], what="copied selection")

        command(t, view, ID_CROP, "50x30,32 bits", "100%", "No Selected Area.")
        wait_buttons(t, {ID_SELECT: (True, True), ID_CROP: off, ID_UNDO: on, ID_REDO: off}, "after the crop")
        cropped = expected_view(picture[10:40, 10:60], view.size(), 100)
        view.wait_showing(cropped, "the cropped image")
        assert_same(save_as(t, s, s.dir / "cropped.bmp"), picture[10:40, 10:60], what="saved crop")

        s.xdotool("mousemove", *view.screen_point(5, 5))
        s.xdotool("key", "ctrl+z")
        view.wait_panes("320x240,32 bits")
        view.wait_showing(full, "the capture after Undo")
        s.xdotool("key", "ctrl+y")
        view.wait_panes("50x30,32 bits")
        view.wait_showing(cropped, "the crop after Redo")

        s.xdotool("key", "ctrl+z")
        view.wait_panes("320x240,32 bits")
        assert menu_state(t, ID_REDO) == "enabled"
        command(t, view, ID_SELECT)
        view.drag((origin[0] + 100, origin[1] + 50), (origin[0] + 119, origin[1] + 59))
        view.wait_panes(None, None, "The selected Area Size:20x10")
        command(t, view, ID_CROP, "20x10,32 bits")
        assert menu_state(t, ID_REDO) == "grayed"
        s.xdotool("mousemove", *view.screen_point(5, 5))
        s.xdotool("key", "ctrl+y")
        time.sleep(1)
        assert view.panes()[0] == "20x10,32 bits", view.panes()


def scenario_resize_and_rotate_through_their_dialogs():
    """Rotate with "90" (counter-clockwise) and "270" (clockwise), exact to the pixel; Resize refuses
    zero and too many pixels, keeps the ratio (805 settles at 804 x 603), resets, and resizes to
    160 x 120 at 100 %; Cancel changes nothing; three Undo steps give the capture back."""
    with session("resize_and_rotate_through_their_dialogs") as s:
        t, view, picture = capture_fixture(s)
        command(t, view, ID_ZOOM_OUT, None, "200%")

        t.probe.command(FRAME, ID_ROTATE)
        box = t.message(ROTATE)
        assert [control(box, i)["checked"] for i in (IDC_90, IDC_180, IDC_270)] == [1, 0, 0]
        t.probe.click(ROTATE, IDOK)
        view.wait_panes("240x320,32 bits", "100%", "No Selected Area.")
        turned = np.rot90(picture, 1)  # counter-clockwise
        view.wait_showing(expected_view(turned, view.size(), 100), "the capture turned by \"90\"")

        t.probe.command(FRAME, ID_ROTATE)
        t.message(ROTATE)
        t.probe.click(ROTATE, IDC_270)
        wait_for(lambda: [control(t.probe.dialog(ROTATE), i)["checked"] for i in (IDC_90, IDC_180, IDC_270)]
                 == [0, 0, 1], 5, "the other buttons stayed checked")
        t.probe.click(ROTATE, IDOK)
        view.wait_panes("320x240,32 bits")
        view.wait_showing(expected_view(picture, view.size(), 100), "the capture turned back by \"270\"")

        t.probe.command(FRAME, ID_RESIZE)
        box = t.message(RESIZE)
        assert (control(box, IDC_WIDTH)["text"], control(box, IDC_HEIGHT)["text"]) == ("320", "240")
        assert control(box, IDC_KEEP_RATIO)["checked"] == 0
        for width, height, text in (("0", "240", "Neither number must be big than zero."),
                                    ("3001", "3000", "Too big Bitmap!")):
            t.probe.settext(RESIZE, IDC_WIDTH, width)
            t.probe.settext(RESIZE, IDC_HEIGHT, height)
            t.probe.click(RESIZE, IDOK)
            assert t.message(MESSAGE_CAPTION)["text"] == text
            t.answer(MESSAGE_CAPTION)
            assert t.probe.find(RESIZE, visible=True), "the Resize dialog closed"

        t.probe.click(RESIZE, IDC_RESET)

        def fields():
            box = t.probe.dialog(RESIZE)
            return control(box, IDC_WIDTH)["text"], control(box, IDC_HEIGHT)["text"]
        wait_for(lambda: fields() == ("320", "240"), 5, "Reset did not restore the size")
        t.probe.click(RESIZE, IDC_KEEP_RATIO)
        wait_for(lambda: control(t.probe.dialog(RESIZE), IDC_KEEP_RATIO)["checked"] == 1, 5)
        t.probe.settext(RESIZE, IDC_WIDTH, "805")
        wait_for(lambda: fields() == ("804", "603"), 5, f"keep ratio gave {fields()}")
        t.probe.settext(RESIZE, IDC_WIDTH, "160")
        wait_for(lambda: fields() == ("160", "120"), 5, f"keep ratio gave {fields()}")
        t.probe.click(RESIZE, IDOK)
        view.wait_panes("160x120,32 bits", "100%", "No Selected Area.")
        size = view.size()
        placed = placed_rect(size, (160, 120))
        shown = view.shot()
        assert (shown[rect_mask(shown.shape, [placed])] == BACKGROUND).all(), "background around the resize"

        t.probe.command(FRAME, ID_RESIZE)
        t.message(RESIZE)
        t.probe.click(RESIZE, IDCANCEL)
        wait_for(lambda: t.probe.find(RESIZE, visible=True) is None, 5)
        assert view.panes()[0] == "160x120,32 bits"

        for pane in ("320x240,32 bits", "240x320,32 bits", "320x240,32 bits"):
            t.probe.command(FRAME, ID_UNDO)
            view.wait_panes(pane)
        assert menu_state(t, ID_UNDO) == "grayed"
        view.wait_panes(None, "200%")  # the capture's state as it was left
        view.wait_showing(expected_view(picture, view.size(), 200), "the capture after three Undo steps")


def scenario_direct_grab_is_shown_at_the_next_paint_and_saved_as_grabbed():
    """Mode 5 leaves the frame hidden; once shown it paints the grab at 100 % (status bar, pixels,
    a history started) and Save As writes the screen as it was grabbed."""
    with session("direct_grab_is_shown_at_the_next_paint_and_saved_as_grabbed") as s:
        t = Tessaly(s).start(settings.encode(captureMode=5, playSound=0, showInfoDialog=0, showEditor=1,
                                             copyToClipboard=0, saveToFile=0))
        start_fixture(s, pos=(300, 200), size=(320, 240))
        time.sleep(0.5)
        s.screenshot(s.dir / "grabbed.png")
        grabbed = load_image(s.dir / "grabbed.png")
        s.xdotool("key", "F11")
        time.sleep(1.5)
        assert not t.probe.find(FRAME)["visible"], "the frame came back after a direct grab"
        assert t.probe.status(FRAME)["parts"][0]["text"] == "No Image."

        t.probe.show(FRAME, 1)
        wait_for(lambda: t.probe.find(FRAME, visible=True), 10, "the frame was not shown")
        view = EditorView(t)
        view.wait_panes("1024x768,32 bits", "100%", "No Selected Area.")
        view.wait_showing(expected_view(grabbed, view.size(), 100), "the grab at 100 %")
        assert menu_state(t, ID_UNDO) == "grayed" and menu_state(t, ID_COPY) == "enabled"
        assert_same(save_as(t, s, s.dir / "grab.bmp"), grabbed, what="the saved grab")


def scenario_a_capture_is_shown_at_100_while_its_save_as_dialog_is_open():
    """With the image before reduced to 50 %, the next capture's editor already paints the new
    picture at 100 % while the Save As dialog holds the pipeline: the view looks then as it does
    once the dialog is gone, not like the earlier picture's reduced copy."""
    with session("a_capture_is_shown_at_100_while_its_save_as_dialog_is_open") as s:
        t = Tessaly(s).start(settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=1,
                                             copyToClipboard=0, saveToFile=1, saveMode=1))
        start_fixture(s, pos=(150, 120), size=(320, 240))
        time.sleep(0.5)
        s.xdotool("key", "F11")
        t.answer(SAVE_AS, "Cancel")
        view = EditorView(t)
        view.wait_panes("1024x768,32 bits", "100%", "No Selected Area.")
        for zoom in (90, 80, 70, 60, 50):
            command(t, view, ID_ZOOM_IN, None, f"{zoom}%")

        s.xdotool("key", "F11")
        dialog = t.message(SAVE_AS, timeout=15000)["window"]
        wait_for(lambda: t.probe.find(FRAME, visible=True), 10, "the editor did not come back")
        left, top = view.client[:2]
        hidden = [[dialog["rect"][0] - left, dialog["rect"][1] - top,
                   dialog["rect"][2] - left, dialog["rect"][3] - top]]
        shots = [view.shot()]

        def settled():
            shots.append(view.shot())
            return (shots[-1] == shots[-2]).all()
        wait_for(settled, 10, "the view kept changing behind the dialog")
        during = shots[-1]
        t.answer(SAVE_AS, "Cancel")
        view.wait_panes("1024x768,32 bits", "100%", "No Selected Area.")
        mask = rect_mask(during.shape, hidden)
        assert mask.sum() > 5000, f"the dialog hides the view: {hidden}"
        view.wait_showing(during, "after the dialog what it showed during it", mask=mask)
