"""Capturing every monitor, the monitor under the pointer, the delay before a capture and the mouse
pointer in the picture; the options kept in capture-options.dat."""
import time

import numpy as np

import winenv
from lib import settings, tray
from lib.fixture import start_fixture
from lib.images import assert_same, crop, load_image, rect_mask
from lib.probe import menu_item, wait_for
from lib.tessaly import FRAME, Tessaly
from scenarios.configure import CAPTURE_RADIOS, IDOK, Sheet

ID_CAPTURE_FULL_SCREEN, ID_CAPTURE_RECTANGLE, ID_CAPTURE_MONITOR = 32819, 32822, 33250
ID_CAPTURE_DELAY_3 = 33263
ID_CAPTURE_DEFAULT = 32773  # the same request as the hot-key, without depending on the keyboard focus
OPTIONS_FILE = "capture-options.dat"
IDC_CAPPAGE_MONITOR, IDC_CAPPAGE_INCLUDE_POINTER, IDC_CAPPAGE_DELAY = 33290, 33291, 33292
CB_GETCURSEL, CB_SETCURSEL = 0x0147, 0x014E
# The two monitors of the two-monitor X server: the primary, and a smaller one to its right.
PRIMARY, SECOND = [0, 0, 1024, 768], [1024, 0, 1824, 600]
NO_MONITOR = [1024, 600, 1824, 768]  # below the second monitor: on the desktop, on no monitor


def options_bytes(delay=0, pointer=0):
    return b"TSCO\x01" + bytes([delay, pointer])


def quiet_settings(**changes):
    base = dict(playSound=0, showInfoDialog=0, showEditor=0, copyToClipboard=1, saveToFile=0)
    return settings.encode(**dict(base, **changes))


def picture_of_size(t, s, name, size, timeout=10, unlike=None):
    """Waits for a picture of `size` (width, height) on the clipboard; earlier pictures of other
    sizes do not count, nor one equal to `unlike` (the picture still there from before)."""
    path = s.dir / name

    def arrived():
        r = t.probe.clipboard(path)
        if not (r and r["image"] and (r["image"]["width"], r["image"]["height"]) == tuple(size)):
            return False
        return unlike is None or not np.array_equal(load_image(path), unlike)
    wait_for(arrived, timeout, f"no {size[0]}x{size[1]} picture reached the clipboard")
    return load_image(path)


def drag(s, start, end):
    s.xdotool("mousemove", *start)
    time.sleep(0.2)
    s.xdotool("mousedown", "1")
    middle = ((start[0] + end[0]) // 2, (start[1] + end[1]) // 2)
    for point in (middle, end):
        s.xdotool("mousemove", *point)
        time.sleep(0.1)
    s.xdotool("mouseup", "1")


def scenario_two_monitors_full_screen_monitor_and_rectangles():
    """On two monitors side by side: full screen is both at their places (black where neither is),
    "Monitor under the pointer" is the one under it, and rectangles across the seam and on the
    second monitor are exact."""
    if not winenv.two_monitors_available():
        raise winenv.Skip("needs root, Xorg and its dummy driver (tools/install-deps)")
    with winenv.WineSession("e2e.capture_options.two_monitors_full_screen_monitor_and_rectangles",
                            two_monitors="right") as s:
        t = Tessaly(s).start(quiet_settings(captureMode=1))
        start_fixture(s, caption="Second Monitor Fixture", pos=(1100, 80), size=(400, 300))
        start_fixture(s, caption="Seam Fixture", pos=(850, 400), size=(400, 150))
        time.sleep(0.5)
        s.screenshot(s.dir / "desktop.png")
        screen = load_image(s.dir / "desktop.png")
        assert screen.shape[:2] == (768, 1824), f"the X server is not two monitors: {screen.shape}"

        t.probe.command(FRAME, ID_CAPTURE_FULL_SCREEN)
        whole = picture_of_size(t, s, "whole.bmp", (1824, 768))
        assert_same(whole, screen, mask=rect_mask(screen.shape, [NO_MONITOR]), what="both monitors")
        assert not crop(whole, NO_MONITOR).any(), "the area on no monitor is not black"

        s.xdotool("mousemove", 1300, 500)
        t.probe.command(FRAME, ID_CAPTURE_MONITOR)
        second = picture_of_size(t, s, "second.bmp", (800, 600))
        assert_same(second, crop(screen, SECOND), what="the monitor under the pointer (second)")
        s.xdotool("mousemove", 500, 700)
        t.probe.command(FRAME, ID_CAPTURE_MONITOR)
        primary = picture_of_size(t, s, "primary.bmp", (1024, 768))
        assert_same(primary, crop(screen, PRIMARY), what="the monitor under the pointer (primary)")

        for rect in ([980, 420, 1080, 470], [1200, 150, 1300, 210]):  # across the seam, on the second
            t.probe.command(FRAME, ID_CAPTURE_RECTANGLE)
            wait_for(lambda: [w for w in t.visible_windows() if w["topmost"] and
                              w["rect"] == [0, 0, 1824, 768]], 10, "no overlay over both monitors")
            time.sleep(0.4)
            drag(s, rect[:2], (rect[2] - 1, rect[3] - 1))
            size = (rect[2] - rect[0], rect[3] - rect[1])
            picture = picture_of_size(t, s, f"rect{rect[0]}.bmp", size)
            assert_same(picture, crop(screen, rect), what=f"rectangle {rect}")
            wait_for(lambda: not [w for w in t.visible_windows() if w["topmost"]], 10, "the overlay stayed")


def scenario_second_monitor_left_of_the_primary():
    """The second monitor left of the primary, at negative coordinates: full screen starts at its
    left edge, the monitor under the pointer and a rectangle dragged on it are exact."""
    if not winenv.two_monitors_available():
        raise winenv.Skip("needs root, Xorg and its dummy driver (tools/install-deps)")
    with winenv.WineSession("e2e.capture_options.second_monitor_left_of_the_primary", two_monitors="left") as s:
        # X places the left monitor at its (0, 0); Windows at (-800, 0). Rectangles here are X's.
        left_monitor, below_it = [0, 0, 800, 600], [0, 600, 800, 768]
        t = Tessaly(s).start(quiet_settings(captureMode=1))
        start_fixture(s, caption="Left Monitor Fixture", pos=(-700, 100), size=(400, 300))
        time.sleep(0.5)
        s.screenshot(s.dir / "desktop.png")
        screen = load_image(s.dir / "desktop.png")
        assert screen.shape[:2] == (768, 1824), f"the X server is not two monitors: {screen.shape}"

        t.probe.command(FRAME, ID_CAPTURE_FULL_SCREEN)
        whole = picture_of_size(t, s, "whole.bmp", (1824, 768))
        assert_same(whole, screen, mask=rect_mask(screen.shape, [below_it]), what="both monitors")
        assert not crop(whole, below_it).any(), "the area on no monitor is not black"

        s.xdotool("mousemove", 300, 300)
        t.probe.command(FRAME, ID_CAPTURE_MONITOR)
        left = picture_of_size(t, s, "left.bmp", (800, 600))
        assert_same(left, crop(screen, left_monitor), what="the monitor under the pointer (left)")

        rect = [120, 140, 220, 200]
        t.probe.command(FRAME, ID_CAPTURE_RECTANGLE)
        wait_for(lambda: [w for w in t.visible_windows() if w["topmost"] and
                          w["rect"] == [-800, 0, 1024, 768]], 10, "no overlay over both monitors")
        time.sleep(0.4)
        drag(s, rect[:2], (rect[2] - 1, rect[3] - 1))
        picture = picture_of_size(t, s, "rect.bmp", (100, 60))
        assert_same(picture, crop(screen, rect), what=f"rectangle {rect} on the left monitor")


def scenario_delay_cancel_menu_in_picture_and_pointer():
    """The delay counts down in the icon's tooltip and a second F11 cancels it; a menu opened
    during the delay is in the picture; the options survive a restart in their own file (set on
    the Capture page); the pointer is drawn at its place in the monitor-under-the-pointer capture,
    the direct grab (which waits for the delay too) and a picked button."""
    with winenv.WineSession("e2e.capture_options.delay_cancel_menu_in_picture_and_pointer") as s:
        options = s.bin / OPTIONS_FILE
        assert not options.exists()
        t = Tessaly(s).start(quiet_settings(captureMode=1))
        t.probe.command(FRAME, ID_CAPTURE_DELAY_3)
        bar = t.probe.menu(FRAME, init=True)
        delays = menu_item(bar, text="De&lay before capture")["submenu"]
        assert [i["checked"] for i in delays] == [False, False, True, False, False], delays
        f = start_fixture(s, pos=(100, 100), size=(400, 300), menu=True)

        # F11, then F11 again within the delay: nothing is taken.
        s.xdotool("key", "F11")
        s.xdotool("mousemove", *tray.ICON)
        wait_for(lambda: (t.probe.tooltip() or {}).get("text", "").startswith(
            "Tessaly Screen Capture - capture in "), 3, "the icon's tooltip does not count down")
        s.xdotool("key", "F11")
        time.sleep(4)
        assert t.probe.clipboard(s.dir / "nothing.bmp")["image"] is None, "the cancelled capture was taken"

        # F11, then open the fixture's menu: it is in the picture taken 3 s later.
        client = f.window["client"]
        s.xdotool("key", "F11")
        s.xdotool("mousemove", client[0] + 12, client[1] - 9, "click", "1")
        menu = wait_for(lambda: t.probe.popupmenu(), 3, "the fixture's menu did not open")
        s.screenshot(s.dir / "with-menu.png")
        picture = picture_of_size(t, s, "with-menu.bmp", (1024, 768), timeout=8)
        assert_same(crop(picture, menu["rect"]), crop(load_image(s.dir / "with-menu.png"), menu["rect"]),
                    what="the menu opened during the delay")
        s.xdotool("key", "Escape")
        t.exit()
        assert options.read_bytes() == options_bytes(delay=3), options.read_bytes()

        # Restarted: the Capture page shows the kept delay; no delay, the pointer and the monitor
        # under the pointer chosen there are kept too.
        f.close()
        t = Tessaly(s).start(t.settings_path.read_bytes())
        sheet = Sheet.open(t)
        page, controls = sheet.page("Capture")
        delay_combo = controls[IDC_CAPPAGE_DELAY]["hwnd"]
        assert t.probe.send(None, CB_GETCURSEL, hwnd=delay_combo) == 2, "the page does not show 3 seconds"
        t.probe.send(None, CB_SETCURSEL, 0, hwnd=delay_combo)
        sheet.click("Capture", IDC_CAPPAGE_INCLUDE_POINTER)
        sheet.click("Capture", IDC_CAPPAGE_MONITOR)
        assert [sheet.control("Capture", r)["checked"] for r in CAPTURE_RADIOS] == [0] * 5, "two modes checked"
        sheet.close(IDOK)
        t.exit()
        assert options.read_bytes() == options_bytes(delay=0, pointer=1), options.read_bytes()
        assert settings.decode(t.settings_path.read_bytes())["captureMode"] == 6
        assert len(t.settings_path.read_bytes()) == 557

        # The monitor under the pointer, the pointer drawn in.
        t = Tessaly(s).start(t.settings_path.read_bytes())
        time.sleep(0.5)
        s.xdotool("mousemove", 300, 200)
        time.sleep(0.3)
        s.screenshot(s.dir / "without-pointer.png")
        t.probe.command(FRAME, ID_CAPTURE_DEFAULT)
        picture = picture_of_size(t, s, "with-pointer.bmp", (1024, 768), unlike=picture)
        screen = load_image(s.dir / "without-pointer.png")
        differ = np.any(picture != screen, axis=2)
        ys, xs = np.nonzero(differ)
        assert len(xs), "no pointer in the picture"
        # An arrow pointer has its hot spot at its tip: every changed pixel is below and right of it.
        assert xs.min() >= 300 and ys.min() >= 200 and xs.max() < 300 + 32 and ys.max() < 200 + 32, \
            (xs.min(), ys.min(), xs.max(), ys.max())
        assert differ[200, 300] or differ[201, 300] or differ[200, 301], "the pointer's tip is not at its place"
        t.exit()

        # The direct grab waits for the delay too, keeps the primary screen and has the pointer.
        folder = s.dir / "shots"
        options.write_bytes(options_bytes(delay=1, pointer=1))
        t = Tessaly(s).start(quiet_settings(captureMode=5, saveToFile=1, saveMode=2,
                                            saveDirectory=s.winpath(folder) + "\\"))
        s.xdotool("mousemove", 300, 200)
        t.probe.command(FRAME, ID_CAPTURE_DEFAULT)
        pressed = time.monotonic()
        wait_for(lambda: folder.exists() and list(folder.iterdir()), 10, "the direct grab saved nothing")
        assert time.monotonic() - pressed > 0.8, "the direct grab did not wait for the delay"
        time.sleep(0.5)  # written to the end
        grabbed = load_image(next(folder.iterdir()))
        assert grabbed.shape[:2] == (768, 1024), grabbed.shape
        assert_same(grabbed, picture, what="direct grab with the pointer against the monitor capture")
        t.exit()

        # A picked button has the pointer where it was when the screen froze, over the button.
        options.write_bytes(options_bytes(delay=0, pointer=1))
        t = Tessaly(s).start(quiet_settings(captureMode=3))
        f = start_fixture(s, pos=(200, 150), size=(480, 360))
        button = [c for c in t.probe.dialog(f.caption)["controls"] if c["id"] == 1001][0]["rect"]
        tip = ((button[0] + button[2]) // 2, (button[1] + button[3]) // 2)
        s.xdotool("mousemove", *tip)
        time.sleep(0.5)
        s.screenshot(s.dir / "button.png")
        t.probe.command(FRAME, ID_CAPTURE_DEFAULT)
        wait_for(lambda: [w for w in t.visible_windows() if w["topmost"]], 10, "the overlay did not appear")
        time.sleep(0.4)
        s.xdotool("click", "1")
        picked = picture_of_size(t, s, "button.bmp", (button[2] - button[0], button[3] - button[1]))
        differ = np.any(picked != crop(load_image(s.dir / "button.png"), button), axis=2)
        ys, xs = np.nonzero(differ)
        assert len(xs), "no pointer on the picked button"
        assert xs.min() >= tip[0] - button[0] and ys.min() >= tip[1] - button[1], (xs.min(), ys.min(), tip, button)
        t.exit()
