"""The notification-area icon of the session's desktop, driven like a user does.

On a 1024x768 Wine desktop the taskbar runs along the bottom and the first icon sits at its
right end (see the notes on testing under Wine). A popup menu there takes keys only while the
pointer is over it, so `open_menu` moves the pointer onto the menu once it is open.

    menu = tray.open_menu(s, t.probe)        # right-click; the probe's popupmenu result
    tray.choose(s, "e")                      # the mnemonic of "&Edit..."
    tray.double_click(s)
"""
from .probe import wait_for

ICON = (1013, 758)


def open_menu(s, probe, timeout=10):
    s.xdotool("mousemove", *ICON, "click", 3)
    menu = wait_for(lambda: probe.popupmenu(), timeout, "the icon's menu did not open")
    left, top, right, _ = menu["rect"]
    s.xdotool("mousemove", (left + right) // 2, top + 4)
    return menu


def choose(s, key):
    s.xdotool("key", key)


def dismiss(s, probe):
    """Closes the open menu by a click elsewhere on the desktop, as a user would."""
    s.xdotool("mousemove", 400, 300, "click", 1)
    wait_for(lambda: probe.popupmenu() is None, 10, "the icon's menu stayed open")


def double_click(s):
    s.xdotool("mousemove", *ICON, "click", "--repeat", 2, "--delay", 80, 1)


def menu_texts(items):
    """[(text, id)] of a menu level, separators as ("-", 0)."""
    return [("-", 0) if i["separator"] else (i["text"], i["id"]) for i in items]
