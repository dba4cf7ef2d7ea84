"""The main frame and its chrome: the notification-area icon and its menu, minimising, the Exit
question, the menus and accelerators, help, and the About box with its links."""
from pathlib import PureWindowsPath

import numpy as np

import winenv
from lib import settings, tray
from lib.images import load_image
from lib.probe import control, wait_for
from lib.tessaly import FRAME, Tessaly

TRAY_ICON_ID = 130
HELP_WINDOW = "Tessaly Screen Capture Help"
WM_SYSCOMMAND, SC_MINIMIZE = 0x0112, 0xF020
ID_APP_EXIT = 57665

# The notification-area menu, by position (separators as "-").
TRAY_MENU = [("&Configure...", 32772), ("-", 0), ("Ca&pture", None), ("&Open...", 32774),
             ("&Edit...", 32775), ("&Save As...", 32776), ("C&lear", 32777), ("-", 0), ("&Help", 57670),
             ("&About...", 57664), ("-", 0), ("E&xit", 57665)]
TRAY_CAPTURE_MENU = [("&Default", 32773), ("-", 0), ("&Full Screen/Virtual Desktop", 32819),
                     ("&Active Window", 32820), ("&Window, Button, Control", 32821),
                     ("&Rectangle Area", 32822), ("&Monitor under the Pointer", 33250), ("-", 0),
                     ("DirectX Full Screen/Screen", 32832), ("-", 0), ("De&lay before capture", None)]
DELAY_MENU = [("&No delay", 33260), ("&1 second", 33261), ("&3 seconds", 33263), ("&5 seconds", 33265),
              ("1&0 seconds", 33270)]

# The main menu with every text, command and separator.
MAIN_MENU = {
    "&File": [("&Open...            Ctrl+O", 32774), ("&Save...            Ctrl+S", 32776), ("-", 0),
              ("E&xit                  Alt+F4", 57665)],
    "&Edit": [("&Undo                            Ctrl+Z", 32782), ("&Redo                            Ctrl+Y", 32783),
              ("-", 0), ("C&lear", 32777), ("&Copy                            Ctrl+C", 32784),
              ("Copy &Selected Area", 32799), ("Cro&p", 32793), ("-", 0), ("Pe&n\tP", 33100),
              ("&Arrow\tA", 33101), ("Rec&tangle\tR", 33102), ("&Highlighter\tH", 33103), ("T&ext\tT", 33104),
              ("Pi&xelate\tX", 33105), ("-", 0), ("Drawing C&olour...", 33106), ("Line Width &2", 33107),
              ("Line Width &4", 33108), ("Line Width &8", 33109)],
    "&View": [("&ToolBar", 32800), ("&StatusBar", 32806), ("-", 0), ("&History", 32811)],
    "&Setting": [("&Capture configure", 32772), ("-", 0), ("&Background color", 32807)],
    "&Capture": [("&Default", 32773), ("-", 0), ("&Full Screen/Virtual Desktop", 32819),
                 ("&Active Window", 32820), ("&Window, Button, Control", 32821), ("&Rectangle Area", 32822),
                 ("&Monitor under the Pointer", 33250), ("-", 0), ("DirectX Full Screen/Screen", 32832), ("-", 0),
                 ("De&lay before capture", None)],
    "H&istory": [("View Selected file                       Enter", 32824), ("&Copy file", 33280),
                 ("&Open containing folder", 33281), ("-", 0),
                 ("Delete selected files                   Del", 32812), ("Delete all files", 32813), ("-", 0),
                 ("Delete selected links", 32815), ("Delete unavaiable links", 32814), ("-", 0),
                 ("Add Links...", 32818)],
    "&Help": [("Help  &Contents                   F1", 57670), ("-", 0), ("Check for &upgrade", 32808),
              ("Visit our &website", 32809), ("Technical &Support", 32810), ("-", 0), ("&About...", 57664)],
}
VK_RETURN, VK_DELETE, VK_F1 = 0x0D, 0x2E, 0x70
# (key, ctrl, command): Ctrl+C has no accelerator although the menu shows it.
ACCELERATORS = {(ord("O"), True, 32774), (ord("S"), True, 32776), (VK_DELETE, False, 32812),
                (VK_F1, False, 57670), (VK_RETURN, False, 32824), (ord("Y"), True, 32783),
                (ord("Z"), True, 32782)}

LINK_BLUE = (0, 0, 255)
VISITED = (0x00, 0x80, 0xC0)  # COLORREF 0x00C08000


def session(name):
    return winenv.WineSession("e2e.frame." + name)


def level(items):
    return [("-", 0) if i["separator"] else (i["text"], None if i["submenu"] else i["id"]) for i in items]


def frame_visible(t):
    return t.probe.find(FRAME)["visible"]


def wait_shown(t, what):
    return wait_for(lambda: t.probe.find(FRAME, visible=True), 10, f"{what} did not bring the frame back")


def wait_hidden(t, what):
    wait_for(lambda: not frame_visible(t), 10, f"{what} did not hide the frame")


def minimise(t):
    t.probe.post(FRAME, WM_SYSCOMMAND, SC_MINIMIZE, 0)
    wait_hidden(t, "minimising")


def exit_dialog(t):
    box = t.message("Exit")
    assert box["statics"] == ["Are you sure to exit Tessaly Screen Capture?"], box["statics"]
    assert [c["text"] for c in box["controls"] if c["class"] == "Button"] == ["Confirmation", "Cancel", "OK"], \
        box["controls"]
    assert box["icon"] and box["icon"]["id"] == 1023 and box["icon"]["kind"] == "question", box["icon"]
    assert box["defid"] == 2 and box["focus"]["id"] == 2, (box["defid"], box["focus"])
    return box


def scenario_tray_icon_minimise_and_exit():
    """The icon's menu (default entry bold, every entry), dismissing it, "&Edit...", minimising to
    nothing, a double-click, Enter in the Exit question, the icon back after a shell restart, and
    Exit from the icon's menu while hidden: it still asks."""
    with session("tray_icon_minimise_and_exit") as s:
        t = Tessaly(s).start(settings.encode())
        wait_for(lambda: t.probe.tray_icon_present(FRAME, TRAY_ICON_ID), 10, "no notification-area icon")
        assert not frame_visible(t)

        menu = tray.open_menu(s, t.probe)
        assert level(menu["items"]) == TRAY_MENU, level(menu["items"])
        assert level(menu["items"][2]["submenu"]) == TRAY_CAPTURE_MENU, level(menu["items"][2]["submenu"])
        assert level(menu["items"][2]["submenu"][-1]["submenu"]) == DELAY_MENU
        assert [i["default"] for i in menu["items"]] == [True] + [False] * 11, "only Configure is bold"
        tray.dismiss(s, t.probe)
        assert not frame_visible(t), "dismissing the menu ran a command"

        tray.choose(s, tray.open_menu(s, t.probe), "&Edit...")
        wait_shown(t, '"&Edit..."')
        minimise(t)
        assert t.probe.find(FRAME)["minimized"], "the frame was hidden without being minimised"
        tray.double_click(s)
        frame = wait_shown(t, "a double-click on the icon")
        assert not frame["minimized"], frame
        wait_for(lambda: t.probe.foreground(FRAME), 10, "the frame did not come to the front")

        t.probe.close(FRAME)
        tray.press_over(s, exit_dialog(t)["window"], "Return")
        wait_for(lambda: t.probe.find("Exit", visible=True) is None, 10, "Enter did not close the question")
        assert t.process.poll() is None, "Enter ended the program"
        assert frame_visible(t), "cancelling changed the frame"

        # A restarted shell has none of the old icons; its announcement brings ours back.
        assert t.probe.tray_icon_delete(FRAME, TRAY_ICON_ID)
        assert not t.probe.tray_icon_present(FRAME, TRAY_ICON_ID)
        t.probe.taskbar_created()
        wait_for(lambda: t.probe.tray_icon_present(FRAME, TRAY_ICON_ID), 10, "the icon did not come back")

        minimise(t)
        tray.choose(s, tray.open_menu(s, t.probe), "E&xit")
        exit_dialog(t)
        assert not frame_visible(t), "asking showed the frame"
        t.answer("Exit", "OK")
        wait_for(lambda: t.process.poll() is not None, 20, "OK did not end the program")


def scenario_menus_accelerators_and_help():
    """Every main-menu text and separator, the accelerator table, and F1 with and without
    Help.chm beside the program."""
    with session("menus_accelerators_and_help") as s:
        t = Tessaly(s).start(settings.encode())
        menu = t.probe.menu(FRAME)
        bar = [(item["text"], level(item["submenu"])) for item in menu["items"]]
        assert bar == list(MAIN_MENU.items()), bar
        capture_menu = next(item["submenu"] for item in menu["items"] if item["text"] == "&Capture")
        assert level(capture_menu[-1]["submenu"]) == DELAY_MENU, level(capture_menu[-1]["submenu"])
        table = {(a["key"], a["ctrl"], a["cmd"]) for a in t.probe.accelerators(s.bin / "Tessaly.exe", 128)}
        assert table == ACCELERATORS, table

        tray.double_click(s)
        frame = wait_shown(t, "a double-click on the icon")
        wait_for(lambda: t.probe.foreground(FRAME), 10, "the frame did not come to the front")
        tray.press_over(s, frame, "F1")
        viewer = t.probe.find(HELP_WINDOW, visible=True, timeout=15000)
        assert viewer and viewer["pid"] == t.probe.find(FRAME)["pid"], viewer
        t.probe.close(HELP_WINDOW)
        wait_for(lambda: t.probe.find(HELP_WINDOW, visible=True) is None, 10, "the help stayed open")

        (s.bin / "Help.chm").unlink()
        wait_for(lambda: t.probe.foreground(FRAME), 10, "the frame did not come back to the front")
        tray.press_over(s, frame, "F1")
        box = t.probe.dialog(FRAME, cls="#32770", visible=True, timeout=10000)
        assert box, "no message about the missing help file"
        prefix = "Can't find help files:"
        assert box["text"].startswith(prefix), box["text"]
        missing = PureWindowsPath(box["text"][len(prefix):])
        assert missing == PureWindowsPath(s.winpath(s.bin / "Help.chm")), missing
        t.probe.click(FRAME, 1, cls="#32770", visible=True)
        wait_for(lambda: t.probe.find(FRAME, cls="#32770", visible=True) is None, 10, "the message stayed")
        assert t.probe.find(HELP_WINDOW) is None


def ink(path, colour):
    """How many pixels of the picture at `path` have exactly that colour."""
    return int(np.all(load_image(path) == np.array(colour, dtype=np.uint8), axis=2).sum())


def link_pixels(t, s, box, control_id, name):
    grab = s.dir / f"{name}.bmp"
    t.probe.screen(grab, control(box, control_id)["rect"])
    return ink(grab, LINK_BLUE), ink(grab, VISITED)


def scenario_about_box_links():
    """The About box from the icon's menu: its texts, the big product name, both links in blue,
    and a link that opened turns to the visited colour while the other stays blue. While it is
    open the icon only brings it forward."""
    with session("about_box_links") as s:
        # The shell hands web and mail links to these programs; `true` accepts them and does nothing.
        for name in ("Browsers", "Mailers"):
            s.run(["reg", "add", r"HKCU\Software\Wine\WineBrowser", "/v", name, "/d", "true", "/f"], check=True)
        t = Tessaly(s).start(settings.encode())
        tray.choose(s, tray.open_menu(s, t.probe), "&About...")
        box = t.message("About")
        assert box["statics"] == ["Tessaly Capture", "Version 1.2", "A fast, easy-to-use screen capture utility.",
                                  "Made by the Tessaly developers, 2026.", "web:", "https://www.tessaly.example/",
                                  "email:", "support@tessaly.example"], box["statics"]
        assert [c["text"] for c in box["controls"] if c["class"] == "Button"] == ["OK"]
        title, version = control(box, 1031)["rect"], control(box, 1037)["rect"]
        assert title[3] - title[1] >= 25 > version[3] - version[1], (title, version)

        for link in (1029, 1030):
            blue, visited = link_pixels(t, s, box, link, f"link{link}")
            assert blue > 20 and visited == 0, (link, blue, visited)

        left, top, _, bottom = control(box, 1029)["rect"]
        s.xdotool("mousemove", left + 12, (top + bottom) // 2, "click", 1)
        wait_for(lambda: link_pixels(t, s, box, 1029, "web-visited")[1] > 20, 10,
                 "the web link did not turn to the visited colour")
        assert link_pixels(t, s, box, 1029, "web-visited")[0] == 0
        assert t.probe.find(FRAME, visible=True) is None
        assert link_pixels(t, s, box, 1030, "mail-unvisited")[0] > 20, "the mail link changed too"

        # While the box waits for the user the icon brings it forward rather than run commands.
        s.xdotool("mousemove", 300, 300, "click", 1)
        s.xdotool("mousemove", *tray.ICON, "click", 3)
        wait_for(lambda: t.probe.foreground("About"), 10, "the icon did not bring the About box forward")
        assert t.probe.popupmenu(timeout=1500) is None, "the icon's menu opened under the About box"
        tray.double_click(s)
        assert t.probe.find(FRAME, visible=True, timeout=1500) is None, "a double-click showed the frame"

        tray.press_over(s, t.probe.find("About", visible=True), "Return")
        wait_for(lambda: t.probe.find("About", visible=True) is None, 10, "Enter did not close the About box")
        assert t.process.poll() is None
