"""Installing like a Windows program: the installer of build/dist in a fresh prefix, the program
started from where it was installed, installing over it, uninstalling; and a copy in a folder that
cannot be written, whose settings and history live in %APPDATA%\\Tessaly."""
import subprocess
import sys
import time
from contextlib import contextmanager
from pathlib import Path

import winenv
from lib import settings
from lib.images import assert_same, load_image
from lib.probe import wait_for
from lib.tessaly import FRAME, Tessaly
from lib.winexec import start_program

sys.path.insert(0, str(Path(__file__).resolve().parents[3] / "installer"))
import make_dist  # noqa: E402

UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly"
USER_RUN_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
MACHINE_RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
SHORTCUT = "Tessaly Screen Capture.lnk"


def session(name):
    return winenv.WineSession("e2e.install." + name)


class InstalledTessaly(Tessaly):
    """The program started from a folder of the prefix's drive C:, by its C: path."""

    def __init__(self, s, folder):
        super().__init__(s)
        self.folder = Path(folder)

    @property
    def settings_path(self):
        return self.folder / "configure.dat"

    @property
    def windows_folder(self):
        return "C:\\" + str(self.folder.relative_to(self.s.prefix / "drive_c")).replace("/", "\\")

    def windows_path(self, name):
        return self.windows_folder + "\\" + name

    def start(self, settings=None, wait_frame=True):
        if settings is not None:
            self.settings_path.write_bytes(settings)
        self.process = start_program(self.s, [self.windows_path("Tessaly.exe")],
                                     output=self.s.dir / "tessaly.log")
        if wait_frame:
            self.wait_frame()
        return self


def user_folder(s, *parts):
    """A folder of the prefix's only user (named after whoever runs Wine)."""
    users = [u for u in (s.prefix / "drive_c" / "users").iterdir() if u.name not in ("Public", "public")]
    assert len(users) == 1, users
    return users[0].joinpath(*parts)


def reg_values(s, key):
    """{name: (type, data)} of a registry key, or None when the key is absent."""
    r = s.run(["reg", "query", key], timeout=60)
    if r.returncode != 0:
        return None
    values = {}
    for line in r.stdout.splitlines():
        fields = line.strip().split(None, 2)
        if len(fields) >= 2 and fields[1].startswith("REG_"):
            values[fields[0]] = (fields[1], fields[2] if len(fields) > 2 else "")
    return values


def run_value(s, key):
    return (reg_values(s, key) or {}).get("Varnicklet", (None, None))[1]


def shipped_names(arch):
    tree = winenv.win_dir(arch) / "bin"
    return {f.name for f in make_dist.shipped_files(tree)}


def dist_file(arch, kind):
    setup, portable = make_dist.package_names(arch)
    return winenv.build_root() / "dist" / (setup if kind == "setup" else portable)


def quiet_auto_save(folder, s):
    return settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=0, saveToFile=1,
                           saveMode=2, saveDirectory=s.winpath(folder) + "\\")


def capture_once(s, t, folder, name):
    """F11 with automatic saving: waits for `name` in `folder` and returns its path."""
    s.xdotool("key", "F11")
    path = Path(folder) / name
    wait_for(lambda: path.exists() and path.stat().st_size > 0, 20, f"{name} was not saved")
    time.sleep(0.3)
    return path


def scenario_silent_install_run_reinstall_and_uninstall():
    """/S installs into %LOCALAPPDATA%\\Programs\\Tessaly exactly the program folder plus the
    uninstaller, a Start-menu shortcut, the quoted autostart value and the Uninstall key; the
    installed program starts and captures the screen exactly; installing again over a running copy
    ends it and keeps its settings and history; the silent uninstaller removes files, shortcut,
    autostart value and key, and keeps captures, settings and history."""
    with session("silent_install_run_reinstall_and_uninstall") as s:
        s.env["WINEDLLOVERRIDES"] += ";winemenubuilder.exe=d"  # no desktop entries on the host
        setup = dist_file(s.arch, "setup")
        s.run([s.winpath(setup), "/S", "/AUTOSTART=1"], timeout=120, check=True)

        folder = user_folder(s, "AppData", "Local", "Programs", "Tessaly")
        installed = {f.name for f in folder.iterdir()}
        assert installed == shipped_names(s.arch) | {"Uninstall.exe"}, sorted(installed)
        for name in shipped_names(s.arch):
            assert (folder / name).read_bytes() == (winenv.win_dir() / "bin" / name).read_bytes(), name
        shortcut = user_folder(s, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs",
                               SHORTCUT)
        assert shortcut.exists(), shortcut

        t = InstalledTessaly(s, folder)
        windows_folder = t.windows_folder
        assert run_value(s, USER_RUN_KEY) == f'"{windows_folder}\\Tessaly.exe"', run_value(s, USER_RUN_KEY)
        key = reg_values(s, UNINSTALL_KEY)
        assert key is not None, "no Uninstall key"
        expected = {
            "DisplayName": "Tessaly Screen Capture", "DisplayVersion": make_dist.version(),
            "Publisher": "Tessaly developers", "InstallLocation": windows_folder,
            "DisplayIcon": f'"{windows_folder}\\Tessaly.exe",0',
            "UninstallString": f'"{windows_folder}\\Uninstall.exe"',
        }
        for name, data in expected.items():
            assert key.get(name, (None, None))[1] == data, (name, key.get(name))
        size_type, size = key["EstimatedSize"]
        total_kb = sum(f.stat().st_size for f in folder.iterdir()) // 1024
        assert size_type == "REG_DWORD" and abs(int(size, 16) - total_kb) <= 8, (size, total_kb)

        # The installed program captures, exactly, into a folder of its own under the install.
        captures = folder / "captures"
        t.start(quiet_auto_save(captures, s))
        s.screenshot(s.dir / "screen.png")
        shot = capture_once(s, t, captures, "Kelvane_001.bmp")
        assert_same(load_image(shot), load_image(s.dir / "screen.png"), what="capture of the installed copy")
        t.exit()
        kept_settings = (folder / "configure.dat").read_bytes()
        kept_history = (folder / "save.dat").read_bytes()
        assert settings.decode(kept_settings)["nextNumber"] == 2
        assert b"Kelvane_001.bmp" in kept_history

        # Installing again while it runs: the running copy is ended, its files stay as they were.
        t.start()
        s.run([s.winpath(setup), "/S"], timeout=120, check=True)
        wait_for(lambda: t.process.poll() is not None, 10, "the installer left the running copy running")
        assert (folder / "configure.dat").read_bytes() == kept_settings
        assert (folder / "save.dat").read_bytes() == kept_history
        assert run_value(s, USER_RUN_KEY) == f'"{windows_folder}\\Tessaly.exe"', "a silent reinstall changed autostart"

        # The program itself also writes the autostart value (machine key first under Wine).
        t.start()
        t.exit()
        s.run([t.windows_path("Uninstall.exe"), "/S"], timeout=120, check=True)
        # The uninstaller runs from a copy of itself and returns at once: wait for its work.
        wait_for(lambda: not (folder / "Uninstall.exe").exists(), 30, "the uninstaller did not finish")
        wait_for(lambda: reg_values(s, UNINSTALL_KEY) is None, 10, "the Uninstall key stayed")
        left = {f.name for f in folder.iterdir()}
        # Captures and every settings file stay (the capture options are written at exit too).
        assert left == {"captures", "configure.dat", "save.dat", "capture-options.dat"}, sorted(left)
        assert shot.exists()
        assert not shortcut.exists()
        assert run_value(s, USER_RUN_KEY) is None and run_value(s, MACHINE_RUN_KEY) is None

        # A folder of the user's choosing. (From here an argument with spaces reaches the installer
        # quoted, which /D= does not accept, so this one has none.)
        s.run([s.winpath(setup), "/S", "/AUTOSTART=1", r"/D=C:\Apps\TessalyHere"], timeout=120, check=True)
        assert (s.prefix / "drive_c" / "Apps" / "TessalyHere" / "Tessaly.exe").exists()
        assert run_value(s, USER_RUN_KEY) == r'"C:\Apps\TessalyHere\Tessaly.exe"', run_value(s, USER_RUN_KEY)
        assert reg_values(s, UNINSTALL_KEY)["InstallLocation"][1] == r"C:\Apps\TessalyHere"


@contextmanager
def unwritable(folder):
    """A folder nobody can write to, not even root (the tests may run as root): the immutable
    flag of the file system, lifted again whatever happens."""
    subprocess.run(["chattr", "+i", str(folder)], check=True)
    try:
        probe = folder / "write-check"
        try:
            probe.write_bytes(b"")
        except OSError:
            pass
        else:
            probe.unlink()
            raise AssertionError(f"{folder} stayed writable: this file system has no immutable flag")
        yield folder
    finally:
        subprocess.run(["chattr", "-i", str(folder)], check=False)


def scenario_read_only_copy_keeps_settings_and_history_in_appdata():
    """A copy in a folder that cannot be written reads the settings shipped beside it, writes them
    and its history to %APPDATA%\\Tessaly at exit, and reads them from there at the next start (the
    numbers of automatic saves go on); the folder itself is left as it was."""
    with session("read_only_copy_keeps_settings_and_history_in_appdata") as s:
        drive_c_copy = s.prefix / "drive_c" / "Program Files" / "Tessaly"
        drive_c_copy.mkdir(parents=True)
        for f in make_dist.shipped_files(s.bin):
            drive_c_copy.joinpath(f.name).write_bytes(f.read_bytes())
        captures = s.dir / "captures"
        (drive_c_copy / "configure.dat").write_bytes(quiet_auto_save(captures, s))
        before = sorted(p.name for p in drive_c_copy.iterdir())
        with unwritable(drive_c_copy):
            appdata = user_folder(s, "AppData", "Roaming", "Tessaly")
            t = InstalledTessaly(s, drive_c_copy)
            t.start()
            capture_once(s, t, captures, "Kelvane_001.bmp")
            t.exit()
            assert settings.decode((appdata / "configure.dat").read_bytes())["nextNumber"] == 2
            assert b"Kelvane_001.bmp" in (appdata / "save.dat").read_bytes()

            t.start()
            capture_once(s, t, captures, "Kelvane_002.bmp")
            names = sorted(item["texts"][0] for item in t.probe.listview(FRAME)["items"])
            assert names == ["Kelvane_001.bmp", "Kelvane_002.bmp"], names
            t.exit()
            assert settings.decode((appdata / "configure.dat").read_bytes())["nextNumber"] == 3
            assert sorted(p.name for p in drive_c_copy.iterdir()) == before


def wizard_controls(probe, hwnd):
    d = probe.dialog(None, hwnd=hwnd)
    return [c for c in (d or {}).get("controls", []) if c["visible"]]


def find_wizard(probe, title, timeout=20):
    """The installer's or uninstaller's window (its caption names the page after `title`)."""
    return wait_for(lambda: next((w for w in probe.windows(visible=True) if w["caption"].startswith(title)), None),
                    timeout, f"no window '{title}'")["hwnd"]


def wait_page(probe, hwnd, text, timeout=20):
    """Waits until the wizard shows a control whose text holds `text`; returns that control."""
    found = wait_for(lambda: next((c for c in wizard_controls(probe, hwnd) if text in c["text"]), None),
                     timeout, f"the wizard did not show '{text}'")
    time.sleep(0.3)  # the page is drawn and takes keys
    return found


def wait_question(probe, text, timeout=30):
    """The visible message box whose text holds `text`."""
    def box():
        for w in probe.windows(visible=True):
            if w["class"] == "#32770":
                d = probe.dialog(None, hwnd=w["hwnd"])
                if d and text in (d.get("text") or ""):
                    return d
        return None
    return wait_for(box, timeout, f"no question '{text}'")


def scenario_interactive_install_offers_autostart_and_uninstall_asks_about_settings():
    """Through its pages: the installer offers "Start with Windows" (unchecked in a fresh prefix)
    and sets the autostart value when it is checked, then starts the program; the uninstaller ends
    the running copy, asks whether to delete settings and history, and with Yes removes them too,
    leaving no folder behind."""
    with session("interactive_install_offers_autostart_and_uninstall_asks_about_settings") as s:
        s.env["WINEDLLOVERRIDES"] += ";winemenubuilder.exe=d"
        t = Tessaly(s)
        start_program(s, [s.winpath(dist_file(s.arch, "setup"))])
        setup = find_wizard(t.probe, "Tessaly Screen Capture Setup")
        wait_page(t.probe, setup, "Welcome to")
        s.xdotool("key", "Return")
        wait_page(t.probe, setup, "Destination Folder")
        s.xdotool("key", "Return")
        box = wait_page(t.probe, setup, "Start Tessaly with Windows")
        assert box["checked"] == 0, "autostart offered as already chosen"
        t.probe.click(None, box["id"] & 0xFFFF, hwnd=box["parent"])
        wait_for(lambda: wait_page(t.probe, setup, "Start Tessaly with Windows")["checked"] == 1, 5,
                 "the box did not check")
        s.xdotool("key", "Return")
        wait_page(t.probe, setup, "Completing")
        s.xdotool("key", "Return")  # Finish, with "Run" checked: the program starts

        folder = user_folder(s, "AppData", "Local", "Programs", "Tessaly")
        installed = InstalledTessaly(s, folder)
        assert run_value(s, USER_RUN_KEY) == f'"{installed.windows_path("Tessaly.exe")}"'
        t.message("Varnicklet1.0", timeout=20000)  # its first start, from the installed folder
        t.answer("Varnicklet1.0")
        frame = wait_for(lambda: t.probe.find(FRAME), 20, "the installed program did not start")

        start_program(s, [installed.windows_path("Uninstall.exe")])
        uninstall = find_wizard(t.probe, "Tessaly Screen Capture Uninstall")
        wait_page(t.probe, uninstall, "Uninstalling from")
        s.xdotool("key", "Return")
        question = wait_question(t.probe, "settings and capture history")
        assert t.probe.find(FRAME) is None, "the running copy was not ended first"
        assert (folder / "configure.dat").exists(), "the ended copy did not keep its settings"
        yes = [c for c in question["controls"] if c["text"].replace("&", "") == "Yes"]
        t.probe.click(None, yes[0]["id"] & 0xFFFF, hwnd=question["window"]["hwnd"])
        wait_for(lambda: not folder.exists(), 30, f"{folder} stayed")
        assert run_value(s, USER_RUN_KEY) is None and run_value(s, MACHINE_RUN_KEY) is None
        assert reg_values(s, UNINSTALL_KEY) is None
