"""A private Windows for one test: an Xvfb display, a Wine prefix in virtual-desktop mode, and a
fresh copy of the binary folder. Used by the Windows unit tests, the end-to-end scenarios and
tools/run-tessaly: every place that starts Wine goes through here.

Two Windows trees are built from the same sources: build/win (32-bit, the product) and build/win64.
The tests run the 32-bit tree wherever this machine can start 32-bit programs, and otherwise the
64-bit tree under wine64 in a win64 prefix; TESSALY_ARCH=x86 or x64 forces either.

The template prefix is made once per build tree and architecture (wineboot takes about 15 s) and
copied with `cp -a` for every session (under a second); a prefix is never shared between sessions,
because hot-keys, the clipboard and the tray belong to its wineserver.
"""
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

PYTHON = "/usr/bin/python3"
SCREEN = (1024, 768)


# The two trees: build folder, Wine loader and prefix kind. Debian's /usr/bin/wine always picks the
# 32-bit loader when wine32 is installed, and wine64 is not on PATH, so the 64-bit one is named.
ARCHES = {
    "x86": {"tree": "win", "loader": "wine", "winearch": "win32", "bits": 32},
    "x64": {"tree": "win64", "loader": "/usr/lib/wine/wine64", "winearch": "win64", "bits": 64},
}
LOADER_32 = "/usr/lib/wine/wine"


def can_start_32bit_programs():
    """Tried, not guessed: some kernels refuse every 32-bit program (exit 126, "Exec format error"),
    and then no 32-bit Wine process can start at all."""
    try:
        r = subprocess.run([LOADER_32, "--version"], stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60)
    except (OSError, subprocess.TimeoutExpired):
        return False
    return r.returncode == 0


def detect_arch():
    return "x86" if can_start_32bit_programs() else "x64"


def selected_arch():
    """TESSALY_ARCH forces a tree; otherwise the choice made when the build was configured, or a
    fresh try."""
    for var in ("TESSALY_ARCH", "TESSALY_CONFIGURED_ARCH"):
        arch = os.environ.get(var, "").strip()
        if arch:
            if arch not in ARCHES:
                sys.exit(f"{var}={arch}: expected one of {', '.join(ARCHES)}")
            return arch
    return detect_arch()


def build_root():
    root = os.environ.get("TESSALY_BUILD_ROOT")
    if not root:
        sys.exit("TESSALY_BUILD_ROOT is not set (the folder holding the win and win64 trees)")
    return Path(root).resolve()


def win_dir(arch=None):
    """The Windows build tree the tests run (build/win or build/win64)."""
    return build_root() / ARCHES[arch or selected_arch()]["tree"]


def build_paths():
    work = Path(os.environ.get("TESSALY_WORK", Path.cwd() / "testruns")).resolve()
    return work, win_dir()


def describe(arch):
    a = ARCHES[arch]
    return (f"Windows tests run the {a['bits']}-bit tree (build/{a['tree']}) under {a['loader']} in a "
            f"{a['winearch']} prefix")


def wine_command(arch=None):
    """The Wine loader of the tree, as the start of a command line."""
    return [ARCHES[arch or selected_arch()]["loader"]]


def base_env(prefix, display, arch=None):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": str(prefix),
        "WINEARCH": ARCHES[arch or selected_arch()]["winearch"],
        "WINEDEBUG": "-all",
        # No Mono or Gecko prompts, and no ALSA noise on a machine without sound cards.
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winealsa.drv=d",
        "DISPLAY": display,
    })
    return env


class Xvfb:
    """An Xvfb on the first free display number (Xvfb picks it itself through -displayfd)."""

    def __init__(self, depth=24, size=SCREEN):
        r, w = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(w), "-screen", "0", f"{size[0]}x{size[1]}x{depth}",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        number = b""
        deadline = time.time() + 20
        with os.fdopen(r, "rb") as pipe:
            while not number.endswith(b"\n") and time.time() < deadline:
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        if not number.strip():
            self.proc.kill()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode().strip()

    def stop(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()


class Skip(Exception):
    """Raised by a test when this machine cannot provide what it needs (the message says what);
    the end-to-end runner then exits with 77, which ctest reports as skipped."""


class TwoMonitorXorg:
    """Xorg with the dummy driver and two screens side by side (two-monitors.xorg.conf): Wine sees two
    monitors only outside its virtual desktop, and Xvfb cannot place screens side by side. Needs
    root, xserver-xorg-video-dummy and, for 32-bit Wine, libxinerama1:i386 and libxrandr2:i386.
    `side` "right" puts the 800x600 monitor right of the primary; "left" puts it left, where Windows
    gives it negative coordinates (-800, 0)-(0, 600)."""

    CONF = Path(__file__).resolve().parent / "two-monitors.xorg.conf"

    def __init__(self, log_dir, side="right"):
        conf = Path(log_dir) / "two-monitors.xorg.conf"
        conf.write_text(self.CONF.read_text().replace("RightOf", "LeftOf" if side == "left" else "RightOf"))
        r, w = os.pipe()
        self.proc = subprocess.Popen(
            ["Xorg", "-displayfd", str(w), "-config", str(conf), "-noreset", "-nolisten", "tcp",
             "-logfile", str(Path(log_dir) / "xorg.log")],
            pass_fds=(w,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(w)
        number = b""
        deadline = time.time() + 30
        with os.fdopen(r, "rb") as pipe:
            while not number.endswith(b"\n") and time.time() < deadline:
                chunk = pipe.read(1)
                if not chunk:
                    break
                number += chunk
        if not number.strip():
            self.stop()
            raise RuntimeError("Xorg with two dummy monitors did not start")
        self.display = ":" + number.decode().strip()

    stop = Xvfb.stop


def two_monitors_available():
    """Whether this machine can run TwoMonitorXorg sessions (otherwise such scenarios are skipped)."""
    return os.geteuid() == 0 and shutil.which("Xorg") is not None and \
        Path("/usr/lib/xorg/modules/drivers/dummy_drv.so").exists()


def template_path(work, arch=None):
    return Path(work) / f"wine-template-{arch or selected_arch()}"


def make_template(template, arch=None):
    """Boot a prefix of the tree's kind once, in virtual-desktop mode as large as the screen. Safe to
    call from parallel tests: the first one builds it under a lock, the others wait and reuse it."""
    arch = arch or selected_arch()
    template = Path(template)
    template.parent.mkdir(parents=True, exist_ok=True)
    with open(str(template) + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if (template / "system.reg").exists() and (template / ".tessaly-ready").exists():
            return
        staging = Path(str(template) + ".staging")
        shutil.rmtree(staging, ignore_errors=True)
        shutil.rmtree(template, ignore_errors=True)
        x = Xvfb()
        try:
            env = base_env(staging, x.display, arch)
            subprocess.run(wine_command(arch) + ["wineboot", "-i"], env=env, check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
            for key, name, data in (
                    (r"HKCU\Software\Wine\Explorer", "Desktop", "Default"),
                    (r"HKCU\Software\Wine\Explorer\Desktops", "Default", f"{SCREEN[0]}x{SCREEN[1]}")):
                subprocess.run(wine_command(arch) + ["reg", "add", key, "/v", name, "/d", data, "/f"], env=env,
                               check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               timeout=120)
            subprocess.run(["wineserver", "-w"], env=env, timeout=120)
        finally:
            x.stop()
        (staging / ".tessaly-ready").write_text("ok\n")
        staging.rename(template)


class WineSession:
    """One test's Windows: `with WineSession("name") as s: s.run([...])`. With two_monitors="right"
    or "left" the display is two monitors (TwoMonitorXorg) and the prefix has no virtual desktop.

    The session owns a work folder build/.../testruns/<name>/ holding `prefix/` and `bin/` (a fresh
    copy of the shipped binaries). On an exception a screenshot is left there as failure.png.
    """

    def __init__(self, name, depth=24, extra_files=(), screen=SCREEN, registry=(), two_monitors=None):
        self.work_root, self.win_dir = build_paths()
        self.two_monitors = two_monitors
        self.name = name
        self.depth = depth
        self.screen = tuple(screen)
        # (key, value name, type, data) set in the prefix before any program of the test starts.
        self.registry = list(registry)
        self.extra_files = [Path(f) for f in extra_files]
        self.dir = self.work_root / name
        self.arch = selected_arch()
        self.template = template_path(self.work_root, self.arch)
        self.children = []
        self.runs = 0

    # -- life cycle ---------------------------------------------------------------------------
    def __enter__(self):
        make_template(self.template, self.arch)
        shutil.rmtree(self.dir, ignore_errors=True)
        self.dir.mkdir(parents=True)
        self.prefix = self.dir / "prefix"
        subprocess.run(["cp", "-a", str(self.template), str(self.prefix)], check=True)
        self.bin = self.dir / "bin"
        shutil.copytree(self.win_dir / "bin", self.bin)
        for f in self.extra_files:
            shutil.copy2(f, self.bin / f.name)
        if self.two_monitors:
            # Inside a virtual desktop Wine shows one monitor, whatever the X server has. The value
            # goes from the registry file before any Wine process has started the desktop.
            user_reg = self.prefix / "user.reg"
            user_reg.write_text(user_reg.read_text().replace('"Desktop"="Default"\n', ""))
        self.x = TwoMonitorXorg(self.dir, self.two_monitors) if self.two_monitors else Xvfb(self.depth, self.screen)
        self.env = base_env(self.prefix, self.x.display, self.arch)
        if self.screen != SCREEN:
            self.registry.append((r"HKCU\Software\Wine\Explorer\Desktops", "Default", "REG_SZ",
                                  f"{self.screen[0]}x{self.screen[1]}"))
        if self.registry:
            for key, name, kind, data in self.registry:
                subprocess.run(self.wine() + ["reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f"],
                               env=self.env, check=True, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, timeout=120)
            # The desktop and the services read these once, when they start: start them afresh.
            subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL, timeout=30)
            subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL, timeout=30)
        # Keep the wineserver up for the whole session: later wine calls start warm.
        subprocess.run(["wineserver", "-p"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        return self

    def __exit__(self, kind, value, tb):
        if kind is not None:
            try:
                self.screenshot(self.dir / "failure.png")
                print(f"screenshot left at {self.dir / 'failure.png'}", file=sys.stderr)
            except Exception as e:  # the screenshot is a courtesy; never hide the real failure
                print(f"no screenshot: {e}", file=sys.stderr)
        for p in self.children:
            if p.poll() is None:
                p.kill()
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL, timeout=30)
        subprocess.run(["wineserver", "-w"], env=self.env, stderr=subprocess.DEVNULL, timeout=30)
        self.x.stop()
        # A prefix is 0.6 GB (1.3 GB for win64): a whole run would fill a small disk. The work
        # folder keeps what a failure needs (screenshot, output, the binary folder with its files).
        shutil.rmtree(self.prefix, ignore_errors=True)
        return False

    # -- running programs -----------------------------------------------------------------------
    def wine(self):
        """The Wine loader of this session's tree, as the start of a command line."""
        return wine_command(self.arch)

    def winpath(self, path):
        """The Windows spelling of a Unix path (drive Z: maps to /)."""
        return "Z:" + str(Path(path).resolve()).replace("/", "\\")

    # Output goes through files, not pipes: services that wine starts inherit the descriptors and
    # would keep a pipe open long after the program has ended.
    def _output_files(self):
        self.runs += 1
        out = self.dir / f"run{self.runs}.out"
        err = self.dir / f"run{self.runs}.err"
        return out, err

    def run(self, args, timeout=60, cwd=None, check=False):
        """Runs a Windows program to its end; returns (returncode, stdout, stderr) as a
        CompletedProcess."""
        out, err = self._output_files()
        cmd = self.wine() + [str(a) for a in args]
        with open(out, "w") as o, open(err, "w") as e:
            p = subprocess.run(cmd, env=self.env, cwd=cwd or self.bin, stdout=o, stderr=e,
                               stdin=subprocess.DEVNULL, timeout=timeout)
        result = subprocess.CompletedProcess(cmd, p.returncode, out.read_text(errors="replace"),
                                             err.read_text(errors="replace"))
        if check and result.returncode != 0:
            raise subprocess.CalledProcessError(result.returncode, cmd, result.stdout, result.stderr)
        return result

    def start(self, args, cwd=None):
        """Starts a Windows program in the background; its output lands in files of the session."""
        out, err = self._output_files()
        with open(out, "w") as o, open(err, "w") as e:
            p = subprocess.Popen(self.wine() + [str(a) for a in args], env=self.env, cwd=cwd or self.bin,
                                 stdout=o, stderr=e, stdin=subprocess.DEVNULL)
        self.children.append(p)
        return p

    def xdotool(self, *args):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True,
                              stdout=subprocess.PIPE, text=True).stdout

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", str(path)], env=self.env, check=True,
                       timeout=30)


def run_windows_unit_test(exe_name):
    """Run one cross-built GoogleTest executable in its own session; exit with its result."""
    work, win = build_paths()
    exe = win / "tests" / (exe_name + ".exe")
    if not exe.exists():
        sys.exit(f"{exe} is missing: build the Windows tree first")
    # Libraries the Windows tests load beside themselves come along.
    extras = [exe] + sorted(exe.parent.glob("*.dll"))
    # Files a test reads (tests/<test>.data/*) come along too.
    data = exe.parent / (exe_name + ".data")
    if data.is_dir():
        extras += sorted(p for p in data.iterdir() if p.is_file() and not p.name.startswith("."))
    with WineSession("win." + exe_name, extra_files=extras) as s:
        r = s.run([exe.name], timeout=600)
        sys.stdout.write(r.stdout)
        sys.stderr.write(r.stderr)
        return r.returncode


if __name__ == "__main__":
    if len(sys.argv) >= 2 and sys.argv[1] == "make-template":
        work, _ = build_paths()
        print(describe(selected_arch()))
        make_template(template_path(work))
    elif len(sys.argv) == 2 and sys.argv[1] == "arch":
        print(selected_arch())
    elif len(sys.argv) == 2 and sys.argv[1] == "tree":
        print(ARCHES[selected_arch()]["tree"])
    elif len(sys.argv) == 2 and sys.argv[1] == "describe":
        print(describe(selected_arch()))
    elif len(sys.argv) >= 3 and sys.argv[1] == "win-test":
        sys.exit(run_windows_unit_test(sys.argv[2]))
    else:
        sys.exit("usage: winenv.py make-template | win-test NAME | arch | tree | describe")
