"""fixture.exe (tests/e2e/fixture/): a window with a known picture and known controls, and
message boxes on demand. Its layout is fixture/layout.h; `fixture.exe --describe` prints it.

    f = start_fixture(s, statusbar=True)         # waits until the window is visible
    f.window["client"]                            # probe fields of the main window
    f.expected_client()                           # the pattern as the client area should show it
    f.close()

    box = show_message_box(s, "Text", "Caption", icon="warning", buttons="yesno")
    ...                                           # read it with Probe.dialog, answer it
    box.answer()                                  # MessageBox's return value (IDYES = 6, ...)
"""
import json

import numpy as np

from .images import rect_mask
from .probe import Probe, wait_for
from .winexec import e2e_dir, run_program, start_program

CAPTION = "Tessaly Fixture"
IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO = 1, 2, 3, 4, 5, 6, 7

_layouts = {}


def fixture_exe():
    return e2e_dir() / "fixture.exe"


def layout(s):
    """The fixture's layout (`fixture.exe --describe`), read once per test process."""
    exe = str(fixture_exe())
    if exe not in _layouts:
        r = run_program(s, [exe, "--describe"], timeout=60)
        if r.returncode != 0:
            raise AssertionError(f"fixture.exe --describe failed: {r.stdout} {r.stderr}")
        _layouts[exe] = json.loads(r.stdout)
    return _layouts[exe]


def pattern_image(width, height, pattern):
    """The test picture of a width x height area, from the "pattern" part of the layout: a grid
    line every `grid` pixels over four quadrants split at width/2 and height/2 (rounded down)."""
    image = np.empty((height, width, 3), dtype=np.uint8)
    top, left = slice(0, height // 2), slice(0, width // 2)
    bottom, right = slice(height // 2, height), slice(width // 2, width)
    image[top, left] = pattern["top_left"]
    image[top, right] = pattern["top_right"]
    image[bottom, left] = pattern["bottom_left"]
    image[bottom, right] = pattern["bottom_right"]
    grid = pattern["grid"]
    image[::grid, :] = pattern["grid_colour"]
    image[:, ::grid] = pattern["grid_colour"]
    return image


class Fixture:
    """A running fixture.exe with its main window."""

    def __init__(self, s, probe, process, caption, log_path, options):
        self.s = s
        self.probe = probe
        self.process = process
        self.caption = caption
        self.log_path = log_path
        self.options = options
        self.window = None

    @property
    def layout(self):
        return layout(self.s)

    def refresh(self):
        """Reads the main window's fields again (rect, client, visible, ...)."""
        self.window = self.probe.find(hwnd=self.window["hwnd"])
        return self.window

    def client_size(self):
        left, top, right, bottom = self.window["client"]
        return right - left, bottom - top

    def expected_client(self):
        """The pattern the client area is painted with (controls not drawn in)."""
        return pattern_image(*self.client_size(), self.layout["pattern"])

    def pattern_mask(self):
        """True where the client area shows the pattern: not under a control, the list view or
        the status bar (client coordinates)."""
        width, height = self.client_size()
        covered = [c["rect"] for c in self.layout["children"] if c["parent"] == 0]
        if self.options.get("listview"):
            covered.append(self.layout["listview"]["rect"])
        if self.options.get("statusbar"):
            bar = self.probe.status(self.caption)
            left, top = self.window["client"][:2]
            covered.append([0, bar["rect"][1] - top, width, height])
        return rect_mask((height, width), covered)

    def events(self):
        """The fixture's log so far: dicts like {"event": "command", "id": 1001, "code": 0}."""
        try:
            with open(self.log_path) as f:
                return [json.loads(line) for line in f if line.strip()]
        except FileNotFoundError:
            return []

    def wait_event(self, event, event_id=None, timeout=5.0):
        def seen():
            return [e for e in self.events()
                    if e["event"] == event and (event_id is None or e.get("id") == event_id)]
        return wait_for(seen, timeout, f"fixture event {event} {event_id} did not come")[0]

    def close(self, timeout=10.0):
        """WM_CLOSE, then waits for the process to end."""
        if self.process.poll() is None:
            self.probe.close(None, hwnd=self.window["hwnd"])
            self.process.wait(timeout)


def start_fixture(s, caption=CAPTION, pos=None, size=None, popup=False, topmost=False, menu=False,
                  statusbar=False, listview=False, clipboard=False, droptarget=False, probe=None,
                  timeout=15000):
    """Starts fixture.exe and waits (up to `timeout` ms) until its window is visible."""
    probe = probe or Probe(s)
    options = dict(popup=popup, topmost=topmost, menu=menu, statusbar=statusbar,
                   listview=listview, clipboard=clipboard, droptarget=droptarget)
    args = [fixture_exe(), "--caption", caption]
    if pos is not None:
        args += ["--pos", *pos]
    if size is not None:
        args += ["--size", *size]
    args += [f"--{name}" for name, on in options.items() if on]
    n = sum(1 for _ in s.dir.glob("fixture-*.log"))
    log_path = s.dir / f"fixture-{n}.log"
    log_path.touch()
    args += ["--log", s.winpath(log_path)]
    process = start_program(s, args, output=s.dir / f"fixture-{n}.out")
    f = Fixture(s, probe, process, caption, log_path, options)
    f.window = probe.find(caption, visible=True, timeout=timeout)
    if f.window is None:
        raise AssertionError(f"the fixture window {caption!r} did not appear "
                             f"(process {'running' if process.poll() is None else 'ended'})")
    return f


class MessageBoxProcess:
    def __init__(self, process, caption):
        self.process = process
        self.caption = caption

    def answer(self, timeout=10.0):
        """MessageBox's return value, once the box has been answered (IDOK = 1, IDNO = 7, ...)."""
        return self.process.wait(timeout)


def show_message_box(s, text, caption, icon="information", buttons="ok"):
    """fixture.exe --messagebox: icon information|question|warning|error|none, buttons
    ok|okcancel|yesno|yesnocancel|retrycancel. Does not wait for the box to appear."""
    args = [fixture_exe(), "--messagebox", text, caption, "--icon", icon, "--buttons", buttons]
    return MessageBoxProcess(start_program(s, args), caption)
