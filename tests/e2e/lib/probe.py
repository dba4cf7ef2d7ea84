"""The probe (tests/e2e/probe/): reads window state from inside the session's Windows.

    p = Probe(s)                                   # s: a winenv.WineSession
    w = p.find("Tessaly Fixture", visible=True, timeout=5000)
    box = p.dialog("Tessaly")                      # None if there is no such window
    p.click("Tessaly", 1)                          # BM_CLICK to the OK button
    wait_for(lambda: p.find("Tessaly") is None, 5, "the message box did not close")

Window targets are given by exact caption (or hwnd=N instead), optionally with cls="CLASS" and
visible=True; `timeout` is in milliseconds and makes the probe poll until the target is there.
Queries return the probe's JSON as a dict, or None when the target was not found; actions raise
ProbeError when it was not. The JSON fields are listed in tests/e2e/probe/README.md.
"""
import json
import time

from .winexec import e2e_dir, run_program

OK, NOT_FOUND, USAGE, FAILED = 0, 1, 2, 3


class ProbeError(AssertionError):
    """The probe failed: `code` is its exit code, `result` its JSON (with "error")."""

    def __init__(self, argv, code, result, stderr):
        self.code = code
        self.result = result
        detail = result.get("error") if isinstance(result, dict) else None
        super().__init__(f"probe {' '.join(str(a) for a in argv)}: exit {code}: {detail or result}"
                         + (f"\n{stderr.strip()}" if stderr.strip() else ""))


def wait_for(predicate, timeout=10.0, message=None, interval=0.1):
    """Calls `predicate` until it returns something true and returns that; raises AssertionError
    after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise AssertionError(message or f"condition not met within {timeout} s")
        time.sleep(interval)


class Probe:
    def __init__(self, session, exe=None):
        self.s = session
        self.exe = exe or e2e_dir() / "probe.exe"

    # -- plumbing ------------------------------------------------------------------------------
    def call(self, command, *args, caption=None, hwnd=None, cls=None, visible=False, timeout=0,
             init=False, missing_ok=True):
        """Runs one probe command and returns its JSON. Exit 1 (not found) gives None when
        `missing_ok`, other failures raise ProbeError."""
        argv = [self.exe, command]
        if timeout:
            argv += ["--timeout", str(int(timeout))]
        if visible:
            argv.append("--visible")
        if cls is not None:
            argv += ["--class", cls]
        if hwnd is not None:
            argv += ["--hwnd", str(int(hwnd))]
        if init:
            argv.append("--init")
        argv.append("--")
        if hwnd is None and caption is not None:
            argv.append(caption)
        argv += [str(a) for a in args]
        r = run_program(self.s, argv, timeout=timeout / 1000 + 60)
        lines = [line for line in r.stdout.splitlines() if line.strip()]
        try:
            result = json.loads(lines[-1]) if lines else None
        except json.JSONDecodeError:
            result = None
        if result is None:
            raise ProbeError(argv[1:], r.returncode, r.stdout, r.stderr)
        if r.returncode == OK:
            return result
        if r.returncode == NOT_FOUND and missing_ok:
            return None
        raise ProbeError(argv[1:], r.returncode, result, r.stderr)

    def _target(self, caption, hwnd):
        if caption is None and hwnd is None:
            raise ValueError("name the window by caption or hwnd")
        return {"caption": caption, "hwnd": hwnd}

    # -- windows -------------------------------------------------------------------------------
    def windows(self, visible=False, cls=None):
        """All top-level windows, topmost first."""
        return self.call("windows", visible=visible, cls=cls)["windows"]

    def find(self, caption=None, *, hwnd=None, cls=None, visible=False, timeout=0):
        return self.call("find", **self._target(caption, hwnd), cls=cls, visible=visible,
                         timeout=timeout)

    def foreground(self, caption=None, *, cls=None, timeout=0):
        """The foreground window; with a caption (or cls), None unless that window is in front
        (within `timeout`)."""
        args = [caption] if caption is not None else []
        return self.call("foreground", *args, cls=cls, timeout=timeout)

    # -- contents ------------------------------------------------------------------------------
    def dialog(self, caption=None, *, hwnd=None, cls=None, visible=False, timeout=0):
        return self.call("dialog", **self._target(caption, hwnd), cls=cls, visible=visible,
                         timeout=timeout)

    def status(self, caption=None, *, hwnd=None, cls=None, visible=False, timeout=0):
        return self.call("status", **self._target(caption, hwnd), cls=cls, visible=visible,
                         timeout=timeout)

    def listview(self, caption=None, *, hwnd=None, cls=None, visible=False, timeout=0):
        return self.call("listview", **self._target(caption, hwnd), cls=cls, visible=visible,
                         timeout=timeout)

    def toolbar(self, caption=None, *, hwnd=None, cls=None, visible=False, timeout=0):
        return self.call("toolbar", **self._target(caption, hwnd), cls=cls, visible=visible,
                         timeout=timeout)

    def tooltip(self, timeout=0):
        """The tooltip shown now ({"hwnd", "rect", "text"}), or None."""
        return self.call("tooltip", timeout=timeout)

    def menu(self, caption=None, *, hwnd=None, cls=None, visible=False, timeout=0, init=False):
        """The menu bar; init=True sends WM_INITMENUPOPUP to every submenu first, as opening the
        menus would, so that the program's update handlers have set the states."""
        return self.call("menu", **self._target(caption, hwnd), cls=cls, visible=visible,
                         timeout=timeout, init=init)

    def popupmenu(self, timeout=0):
        """The open popup menu (a context or notification-area menu): hwnd, rect and items as in
        `menu`; None when no popup menu is open (within `timeout`)."""
        return self.call("popupmenu", timeout=timeout)

    # -- the shell -------------------------------------------------------------------------------
    def tray_icon_present(self, caption, icon_id, *, hwnd=None):
        """Whether the taskbar holds the notification-area icon `icon_id` of that window."""
        return self.call("tray", "query", *self._tray_target(caption, hwnd), icon_id, hwnd=hwnd,
                         missing_ok=False)["present"]

    def tray_icon_delete(self, caption, icon_id, *, hwnd=None):
        """Takes the window's icon out of the taskbar, as a crashing shell loses it."""
        return self.call("tray", "delete", *self._tray_target(caption, hwnd), icon_id, hwnd=hwnd,
                         missing_ok=False)["deleted"]

    def taskbar_created(self):
        """Broadcasts the message a restarted shell sends to every top-level window."""
        return self.call("tray", "taskbar-created", missing_ok=False)

    @staticmethod
    def _tray_target(caption, hwnd):
        return [] if hwnd is not None else [caption]

    def accelerators(self, path, table_id):
        """The accelerator table `table_id` of a program file: a list of {key, cmd, virtkey, ctrl,
        shift, alt}."""
        return self.call("accelerators", self.s.winpath(path), table_id, missing_ok=False)["entries"]

    # -- actions (a missing target raises) -------------------------------------------------------
    def _act(self, command, caption, hwnd, *args, cls=None, visible=False, timeout=0):
        return self.call(command, *args, **self._target(caption, hwnd), cls=cls, visible=visible,
                         timeout=timeout, missing_ok=False)

    def click(self, caption, control_id, *, hwnd=None, **kw):
        return self._act("click", caption, hwnd, control_id, **kw)

    def command(self, caption, command_id, *, hwnd=None, **kw):
        return self._act("command", caption, hwnd, command_id, **kw)

    def command_all(self, caption, command_id, timeout=0):
        """Posts the command to every top-level window with that caption, back to back (two running
        copies of a program); returns {"hwnds": [...], "posted": N}."""
        return self.call("command-all", command_id, caption=caption, timeout=timeout, missing_ok=False)

    def post(self, caption, msg, wparam=0, lparam=0, *, hwnd=None, **kw):
        return self._act("post", caption, hwnd, msg, wparam, lparam, **kw)

    def send(self, caption, msg, wparam=0, lparam=0, *, hwnd=None, **kw):
        """SendMessage (5 s limit); returns the LRESULT."""
        return self._act("send", caption, hwnd, msg, wparam, lparam, **kw)["result"]

    def close(self, caption, *, hwnd=None, **kw):
        return self._act("close", caption, hwnd, **kw)

    def settext(self, caption, control_id, text, *, hwnd=None, **kw):
        return self._act("settext", caption, hwnd, control_id, text, **kw)

    def show(self, caption, how=1, *, hwnd=None, **kw):
        """ShowWindowAsync(how) on the window (1 = SW_SHOWNORMAL); returns {"hwnd", "was_visible"}."""
        return self._act("show", caption, hwnd, how, **kw)

    def idle(self, caption, timeout=20000):
        """Waits until the window's program has finished starting and waits for input."""
        return self.call("idle", caption, timeout=timeout)

    def hotkey(self, vk, mods=0):
        """Tries RegisterHotKey(vk, mods); {"registered": False, ...} while another process holds
        the key."""
        return self.call("hotkey", vk, mods, missing_ok=False)

    # -- pictures ------------------------------------------------------------------------------
    def clipboard(self, path, timeout=0):
        """Lists the clipboard formats and writes its image (CF_DIB, else CF_BITMAP) to `path` as
        BMP. result["image"] is None when there is no image (after `timeout` ms of waiting)."""
        try:
            return self.call("clipboard", self.s.winpath(path), timeout=timeout, missing_ok=False)
        except ProbeError as e:
            if e.code == NOT_FOUND:
                return e.result
            raise

    def screen(self, path, rect=None):
        """Grabs the screen (or rect [l, t, r, b]) inside Windows as a 24-bit BMP at `path`."""
        args = [self.s.winpath(path)]
        if rect is not None:
            left, top, right, bottom = rect
            args += [left, top, right - left, bottom - top]
        return self.call("screen", *args, missing_ok=False)

    def pixel(self, x, y):
        r = self.call("pixel", x, y, missing_ok=False)
        return (r["r"], r["g"], r["b"])


# -- reading results ---------------------------------------------------------------------------
def control(dialog, control_id):
    """The control with that id in a `dialog` result, or None."""
    for c in dialog["controls"]:
        if c["id"] == control_id or (c["id"] & 0xFFFF) == (control_id & 0xFFFF):
            return c
    return None


def menu_items(items):
    """Every item of a menu tree (the "items" of a `menu` result), depth first."""
    for item in items:
        yield item
        if item["submenu"]:
            yield from menu_items(item["submenu"])


def menu_item(menu, item_id=None, text=None):
    """The first item of a `menu` result with that id (or that text, '&' included), or None."""
    for item in menu_items(menu["items"]):
        if (item_id is not None and item["id"] == item_id) or (text is not None and item["text"] == text):
            return item
    return None
