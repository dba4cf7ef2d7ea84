"""The notification-area icon of the session's desktop, driven like a user does.

On a 1024x768 Wine desktop the taskbar runs along the bottom and the first icon sits at its
right end (see the notes on testing under Wine). Under Wine a popup menu takes keys only while the
pointer is over it, and none while its owner is minimised, so entries are chosen by a click on
their place. Keys for a window likewise go where the pointer is: `press_over` moves it there first.

    menu = tray.open_menu(s, t.probe)        # right-click; the probe's popupmenu result
    tray.choose(s, menu, "&Edit...")         # a click on the entry
    tray.double_click(s)
"""
import time

from .probe import wait_for

ICON = (1013, 758)


def open_menu(s, probe, timeout=10):
    s.xdotool("mousemove", *ICON, "click", 3)
    return wait_for(lambda: probe.popupmenu(), timeout, "the icon's menu did not open")


def choose(s, menu, text):
    """Clicks the entry of the open `menu` (a popupmenu result) with that text ('&' included)."""
    items = [i for i in menu["items"] if i["text"] == text]
    assert items and items[0]["rect"], f"no entry {text!r} shown in the menu"
    left, top, right, bottom = items[0]["rect"]
    s.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2)
    time.sleep(0.2)  # the entry is highlighted before the click
    s.xdotool("click", 1)


def dismiss(s, probe):
    """Closes the open menu by a click elsewhere on the desktop, as a user would."""
    s.xdotool("mousemove", 400, 300, "click", 1)
    wait_for(lambda: probe.popupmenu() is None, 10, "the icon's menu stayed open")


def double_click(s):
    s.xdotool("mousemove", *ICON, "click", "--repeat", 2, "--delay", 80, 1)


def menu_texts(items):
    """[(text, id)] of a menu level, separators as ("-", 0)."""
    return [("-", 0) if i["separator"] else (i["text"], i["id"]) for i in items]


def press_over(s, window, key):
    """Presses `key` with the pointer over `window` (a probe window result)."""
    left, top, right, bottom = window["client"]
    s.xdotool("mousemove", (left + right) // 2, (top + bottom) // 2)
    time.sleep(0.3)
    s.xdotool("key", key)
