"""Driving Tessaly.exe in a WineSession: start it (with or without a configure.dat), answer its
start-up messages, end it, and read what it left behind.

    t = Tessaly(s)
    t.start(settings.encode(captureMode=1))       # waits until the (hidden) frame exists
    t.probe.status(FRAME)
    t.exit()                                       # closes the frame and waits for the process

    other = Tessaly(s, s.dir / "other")            # a second copy, in a folder of its own
    other.start(settings.encode(hotKeyCode=0x78), wait_frame=False)
"""
import shutil
import time

from .probe import Probe, wait_for
from .winexec import start_program

FRAME = "Tessaly Screen Capture"
FIRST_RUN_CAPTION = "Varnicklet1.0"
FIRST_RUN_TEXT = "Can't find configure.dat. Use the default settings!"
MESSAGE_CAPTION = "Tessaly Capture"
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
VK_F11 = 0x7A


class Tessaly:
    def __init__(self, s, folder=None):
        """`folder`: where this copy lives; by default the session's binary folder. Another folder
        is filled with a copy of the session's binaries, so it keeps settings and history apart."""
        self.s = s
        self.folder = folder or s.bin
        self.probe = Probe(s)
        self.process = None
        if not self.folder.exists():
            shutil.copytree(s.bin, self.folder, ignore=shutil.ignore_patterns("*.dat"))

    @property
    def settings_path(self):
        return self.folder / "configure.dat"

    def start(self, settings=None, wait_frame=True):
        """Starts the program; `settings` (bytes) becomes configure.dat first. Without settings the
        first-run message is left for the caller to read and answer."""
        if settings is not None:
            self.settings_path.write_bytes(settings)
        if self.folder == self.s.bin:
            exe, log = "Tessaly.exe", self.s.dir / "tessaly.log"
        else:
            exe, log = self.s.winpath(self.folder / "Tessaly.exe"), self.s.dir / f"tessaly-{self.folder.name}.log"
        self.process = start_program(self.s, [exe], output=log)
        if wait_frame and settings is not None:
            self.wait_frame()
        return self

    def wait_frame(self):
        """Waits for the (hidden) frame, then for the end of the start-up: the hot-key is
        registered after the frame exists, so a key pressed before could go nowhere."""
        frame = wait_for(lambda: self.probe.find(FRAME), 20, "the main frame was not created")
        self.probe.idle(FRAME)
        return frame

    def message(self, caption, timeout=10000):
        """The visible message box with that caption (probe dialog fields), or an AssertionError."""
        box = self.probe.dialog(caption, visible=True, timeout=timeout)
        assert box is not None, f"no message box '{caption}'"
        return box

    def answer(self, caption, button_text="OK"):
        """Presses a button of a dialog by its text and waits until the dialog is gone."""
        box = self.message(caption)
        ids = [c["id"] for c in box["controls"] if c["text"].replace("&", "") == button_text]
        assert ids, f"no button '{button_text}' in '{caption}': {box['controls']}"
        self.probe.click(caption, ids[0], visible=True)
        wait_for(lambda: self.probe.find(caption, visible=True) is None, 10,
                 f"'{caption}' did not close")

    def visible_windows(self):
        """Visible top-level windows of the program's process."""
        frame = self.probe.find(FRAME)
        pid = frame["pid"] if frame else None
        return [w for w in self.probe.windows(visible=True) if w["pid"] == pid]

    def exit(self, timeout=20):
        """Closes the frame (confirming the Exit dialog if one asks) and waits for the process."""
        self.probe.close(FRAME)
        deadline = time.monotonic() + timeout
        while self.process.poll() is None and time.monotonic() < deadline:
            if self.probe.find("Exit", visible=True):
                self.answer("Exit", "OK")
            time.sleep(0.2)
        assert self.process.poll() is not None, "Tessaly did not end"

    def run_value(self):
        """The autostart value's data, or None when absent."""
        r = self.s.run(["reg", "query", RUN_KEY, "/v", "Varnicklet"], timeout=60)
        if r.returncode != 0:
            return None
        for line in r.stdout.splitlines():
            if "Varnicklet" in line and "REG_" in line:
                return line.split("REG_SZ", 1)[-1].strip() if "REG_SZ" in line else ""
        return ""

    def set_run_value(self, data):
        self.s.run(["reg", "add", RUN_KEY, "/v", "Varnicklet", "/d", data, "/f"], timeout=60, check=True)
