"""Docking: the "History" pane sized by its top edge (live and with a tracker line), dragged out
by its gripper to float and back, toggled by double-clicks, closed by its button and brought back
from the View menu; the toolbar's buttons, their tooltips, and a disabled button that refuses to
run."""
import time

import winenv
from lib import settings
from lib.images import load_image
from lib.probe import menu_item, wait_for
from lib.tessaly import FRAME, Tessaly

PANE_ID = 123
PANE_FIRST, DOCK_BOTTOM, TOOLBAR_ID, STATUS_BAR_ID = 0xE900, 0xE81E, 0xE800, 0xE801
ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_HISTORY = 32800, 32806, 32811
ID_FILE_SAVE_IMAGE, ID_EDIT_REDO_STEP = 32776, 32783
WM_COMMAND = 0x0111
HISTORY = "History"
SAVE_AS = "Save As"

BUTTONS = [(32774, "Open"), (32776, "Save"), None, (32782, "Undo"), (32783, "Redo"), None,
           (32777, "Clear"), (32784, "Copy"), None, (32821, "Window, Button or Control"),
           (32822, "Rectangle area"), None, (32792, "Zoom in"), (32791, "Zoom out"), None,
           (32796, "Move"), (32785, "Select"), (32799, "Copy the selected area"), (32793, "Crop"), None,
           (32795, "Resize"), (32798, "Rotate"), None,
           (33100, "Pen (P)"), (33101, "Arrow (A)"), (33102, "Rectangle (R)"), (33103, "Highlighter (H)"),
           (33104, "Text (T)"), (33105, "Pixelate (X)"), (33106, "Drawing colour"), None, (57670, "Help")]


def session(name):
    return winenv.WineSession("e2e.docking." + name)


def start_shown(s):
    """Tessaly started and its frame brought back by a capture with the editor on."""
    t = Tessaly(s).start(settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=1,
                                         copyToClipboard=0, saveToFile=0))
    time.sleep(0.5)
    s.xdotool("key", "F11")
    wait_for(lambda: t.probe.find(FRAME, visible=True), 20, "the editor did not come back")
    wait_for(lambda: (pane(t) or {}).get("visible"), 10, "no history pane")
    time.sleep(0.5)
    return t


def controls(t, caption=FRAME):
    return {c["id"] & 0xFFFF: c for c in t.probe.dialog(caption)["controls"]}


def pane(t, caption=FRAME):
    return controls(t, caption).get(PANE_ID)


def view_rect(t):
    return controls(t)[PANE_FIRST]["rect"]


def checks(t):
    menu = t.probe.menu(FRAME, init=True)
    return [menu_item(menu, i)["checked"] for i in (ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_HISTORY)]


def press(s, x, y):
    s.xdotool("mousemove", x, y)
    time.sleep(0.3)
    s.xdotool("mousedown", 1)
    time.sleep(0.3)


def move_in_steps(s, start, end, steps=5):
    for k in range(1, steps + 1):
        s.xdotool("mousemove", start[0] + (end[0] - start[0]) * k // steps,
                  start[1] + (end[1] - start[1]) * k // steps)
        time.sleep(0.15)


def drag(s, start, end):
    press(s, *start)
    move_in_steps(s, start, end)
    time.sleep(0.3)
    s.xdotool("mouseup", 1)
    time.sleep(0.5)


def double_click(s, x, y):
    s.xdotool("mousemove", x, y)
    time.sleep(0.3)
    s.xdotool("click", "--repeat", 2, "--delay", 80, 1)


def gripper(rect):
    """A point on the docked pane's gripper: left of its client area, below the close button."""
    return rect[0] + 8, rect[1] + 60


def height(rect):
    return rect[3] - rect[1]


def set_drag_full_windows(s, on):
    """The system's full-window dragging, as the next start of the program reads it. (Wine keeps
    the value a process has read, so a change announced to a running program is not seen.)"""
    s.run(["reg", "add", r"HKCU\Control Panel\Desktop", "/v", "DragFullWindows", "/d", "1" if on else "0", "/f"],
          check=True)


def scenario_pane_top_edge_sizes_it_live_and_with_a_tracker_line():
    """Docked at the bottom, the pane is 200 high across the frame; its top edge drags it higher,
    live with full-window dragging and, without, behind an inverted line applied on release."""
    with session("pane_top_edge_sizes_it_live_and_with_a_tracker_line") as s:
        set_drag_full_windows(s, True)
        t = start_shown(s)
        c = controls(t)
        p, frame = c[PANE_ID], t.probe.find(FRAME)
        assert p["parent"] == c[DOCK_BOTTOM]["hwnd"], (p, c[DOCK_BOTTOM])
        assert height(p["rect"]) == 200, p["rect"]
        client = frame["client"]
        assert (p["rect"][0], p["rect"][2]) == (client[0] - 2, client[2] + 2), (p["rect"], client)
        assert p["rect"][3] == c[STATUS_BAR_ID]["rect"][1]
        assert view_rect(t)[3] == p["rect"][1]
        assert checks(t) == [True, True, True]

        # Live: the pane follows the mouse before the button is released.
        x, top = (p["rect"][0] + p["rect"][2]) // 2, p["rect"][1]
        press(s, x, top + 2)
        move_in_steps(s, (x, top + 2), (x, top - 38))
        wait_for(lambda: height(pane(t)["rect"]) == 240, 10, "the pane did not follow the mouse")
        move_in_steps(s, (x, top - 38), (x, top - 78))
        s.xdotool("mouseup", 1)
        wait_for(lambda: height(pane(t)["rect"]) == 280, 10, f"not 280 high: {pane(t)['rect']}")
        assert view_rect(t)[3] == pane(t)["rect"][1]
        t.exit()

        # Full-window dragging off: a line follows the mouse, the size changes on release.
        set_drag_full_windows(s, False)
        t = start_shown(s)
        p = pane(t)
        top = p["rect"][1]
        s.xdotool("mousemove", 5, 740)  # out of the way of the pictures
        time.sleep(0.5)
        s.screenshot(s.dir / "before.png")
        press(s, x, top + 2)
        move_in_steps(s, (x, top + 2), (x, top - 58))
        time.sleep(0.8)
        s.screenshot(s.dir / "during.png")
        assert pane(t)["rect"] == p["rect"], "the pane changed before the button was released"
        before, during = load_image(s.dir / "before.png"), load_image(s.dir / "during.png")
        line = top - 60
        changed = (before[line - 1:line + 4, p["rect"][0] + 10:p["rect"][2] - 10] !=
                   during[line - 1:line + 4, p["rect"][0] + 10:p["rect"][2] - 10]).any(axis=2)
        assert changed.mean() > 0.3, f"no tracker line at y={line}: {changed.mean():.2f} changed"
        s.xdotool("mouseup", 1)
        wait_for(lambda: height(pane(t)["rect"]) == 260, 10, f"not 260 high: {pane(t)['rect']}")
        t.exit()


def scenario_pane_floats_docks_toggles_closes_and_comes_back_from_the_view_menu():
    """The gripper drags the pane out into a mini frame captioned "History"; a double-click on
    that caption docks it back, one on the gripper floats it again, and its caption drags it
    back to the bottom. The close button hides it; View > History brings it back, the check mark
    following; the toolbar and status bar toggle the same way."""
    with session("pane_floats_docks_toggles_closes_and_comes_back_from_the_view_menu") as s:
        t = start_shown(s)
        docked = pane(t)["rect"]
        view = view_rect(t)
        middle = ((view[0] + view[2]) // 2, (view[1] + view[3]) // 2)

        drag(s, gripper(docked), middle)
        mini = wait_for(lambda: t.probe.find(HISTORY, visible=True), 10, "the pane did not float")
        inside = pane(t, HISTORY)
        assert inside and inside["visible"], inside
        assert PANE_ID not in controls(t), "the pane is still in the frame"
        assert view_rect(t)[3] == controls(t)[STATUS_BAR_ID]["rect"][1], "the frame kept the pane's room"
        assert mini["client"][2] - mini["client"][0] == 200, mini

        double_click(s, (mini["rect"][0] + mini["rect"][2]) // 2, mini["rect"][1] + 8)
        wait_for(lambda: PANE_ID in controls(t), 10, "a double-click on the caption did not dock it")
        wait_for(lambda: pane(t)["rect"] == docked, 10, f"docked elsewhere: {pane(t)['rect']}")
        assert t.probe.find(HISTORY, visible=True) is None

        double_click(s, *gripper(docked))
        again = wait_for(lambda: t.probe.find(HISTORY, visible=True), 10, "a double-click on the gripper did not float it")
        assert again["rect"] == mini["rect"], (again["rect"], mini["rect"])

        status_top = controls(t)[STATUS_BAR_ID]["rect"][1]
        drag(s, ((again["rect"][0] + again["rect"][2]) // 2, again["rect"][1] + 8), (middle[0], status_top - 6))
        wait_for(lambda: PANE_ID in controls(t), 10, "dragged to the bottom edge, it did not dock")
        wait_for(lambda: height(pane(t)["rect"]) == 200 and pane(t)["rect"][3] == status_top, 10,
                 f"not docked at the bottom: {pane(t)['rect']}")

        # The close button: 13 pixels square, 3 in from the pane's left, 5 down.
        p = pane(t)["rect"]
        s.xdotool("mousemove", p[0] + 9, p[1] + 11)
        time.sleep(0.5)
        s.xdotool("click", 1)
        wait_for(lambda: not pane(t)["visible"], 10, "the close button did not hide the pane")
        assert view_rect(t)[3] == status_top
        assert checks(t) == [True, True, False]

        # The View menu, by the keyboard as a user would.
        s.xdotool("key", "alt+v")
        time.sleep(0.8)
        s.xdotool("key", "h")
        wait_for(lambda: pane(t)["visible"], 10, "View > History did not bring the pane back")
        assert pane(t)["rect"] == p
        assert checks(t) == [True, True, True]

        for command, control, index in ((ID_VIEW_TOOLBAR, TOOLBAR_ID, 0), (ID_VIEW_STATUS_BAR, STATUS_BAR_ID, 1)):
            t.probe.command(FRAME, command)
            wait_for(lambda: not controls(t)[control]["visible"], 10, f"{command} did not hide its bar")
            assert not checks(t)[index]
            t.probe.command(FRAME, command)
            wait_for(lambda: controls(t)[control]["visible"], 10, f"{command} did not show its bar")
            assert checks(t)[index]
        t.exit()


def scenario_toolbar_buttons_tooltips_and_a_disabled_button():
    """Twenty-four buttons with separators in their order, each with its tooltip; Save runs from
    its button once there is an image, and refuses to run while its rule says no."""
    with session("toolbar_buttons_tooltips_and_a_disabled_button") as s:
        t = Tessaly(s).start(settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=1,
                                             copyToClipboard=0, saveToFile=0, saveMode=1))
        bar = t.probe.toolbar(FRAME)
        items = [None if b["separator"] else b["id"] for b in bar["buttons"]]
        assert items == [b and b[0] for b in BUTTONS], items

        # No image yet: Save's rule says no, and a click that reaches the frame does not run it.
        t.probe.post(FRAME, WM_COMMAND, ID_FILE_SAVE_IMAGE, bar["hwnd"])
        time.sleep(2)
        assert t.probe.find(SAVE_AS, visible=True) is None, "a disabled Save ran"

        s.xdotool("key", "F11")
        wait_for(lambda: t.probe.find(FRAME, visible=True), 20, "the editor did not come back")
        state = wait_for(lambda: {b["id"]: b["enabled"] for b in t.probe.toolbar(FRAME)["buttons"]
                                  if b["id"] == ID_FILE_SAVE_IMAGE and b["enabled"]}, 10,
                         "Save stayed disabled with an image")
        buttons = {b["id"]: b for b in t.probe.toolbar(FRAME)["buttons"]}
        assert not buttons[ID_EDIT_REDO_STEP]["enabled"], "Redo with nothing to redo"
        top_dock = controls(t)[0xE81B]
        assert t.probe.toolbar(FRAME)["rect"][1] >= top_dock["rect"][1], (bar, top_dock)

        for entry in BUTTONS:
            if entry is None:
                continue
            button_id, tip = entry
            r = buttons[button_id]["rect"]
            s.xdotool("mousemove", (r[0] + r[2]) // 2, (r[1] + r[3]) // 2)
            wait_for(lambda: (t.probe.tooltip() or {}).get("text") == tip, 10,
                     f"no tooltip '{tip}': {t.probe.tooltip()}")

        # Redo is disabled: a click does nothing. Save runs from its button.
        r = buttons[ID_EDIT_REDO_STEP]["rect"]
        s.xdotool("mousemove", (r[0] + r[2]) // 2, (r[1] + r[3]) // 2, "click", 1)
        r = buttons[ID_FILE_SAVE_IMAGE]["rect"]
        s.xdotool("mousemove", (r[0] + r[2]) // 2, (r[1] + r[3]) // 2, "click", 1)
        t.message(SAVE_AS)
        t.answer(SAVE_AS, "Cancel")
        assert state
        t.exit()
