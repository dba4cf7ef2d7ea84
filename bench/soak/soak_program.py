"""Tessaly.exe itself under Wine, saving automatically after every F11 capture, a few hundred
times in each format: the resident memory of its process after every 50 captures, as a user who
keeps it in the notification area for weeks would see it grow (or not). The in-process counts of
GDI objects and handles are bench_soak.exe's part.

Usage: TESSALY_BUILD_ROOT=build TESSALY_WORK=build/host/testruns \\
           python3 bench/soak/soak_program.py [CAPTURES [BIN_FOLDER]]
BIN_FOLDER runs the binaries of another build (an older one, to compare) instead of the tree's.
"""
import shutil
import sys
import time
from pathlib import Path

top = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(top / "tests" / "harness"))
sys.path.insert(0, str(top / "tests" / "e2e"))
import winenv  # noqa: E402
from lib import settings  # noqa: E402
from lib.probe import wait_for  # noqa: E402
from lib.tessaly import Tessaly  # noqa: E402

FORMATS = [("BMP", 0, ".bmp"), ("GIF", 2, ".gif"), ("JPEG", 1, ".jpg")]


def resident_mb(prefix):
    """VmRSS of the Tessaly.exe process running in this session's prefix."""
    for proc in Path("/proc").iterdir():
        if not proc.name.isdigit():
            continue
        try:
            if b"Tessaly.exe" not in (proc / "cmdline").read_bytes():
                continue
            if str(prefix).encode() not in (proc / "environ").read_bytes():
                continue
            for line in (proc / "status").read_text().splitlines():
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
        except OSError:
            continue
    raise RuntimeError("Tessaly.exe is not running")


def soak(name, fmt, extension, captures, other_bin):
    """The resident MB after the first capture and after every 50th, in a session of its own."""
    column = {}
    with winenv.WineSession("bench.soak_program." + name) as s:
        if other_bin:
            for f in other_bin.iterdir():
                shutil.copy2(f, s.bin / f.name)
        folder = s.dir / "shots"
        t = Tessaly(s).start(settings.encode(
            captureMode=1, playSound=0, showInfoDialog=0, showEditor=0, copyToClipboard=0, saveToFile=1,
            saveMode=2, saveDirectory=s.winpath(folder) + "\\", fileFormat=fmt, nextNumber=1))
        for i in range(1, captures + 1):
            s.xdotool("key", "F11")
            path = folder / f"Kelvane_{i:03d}{extension}"
            wait_for(lambda: path.exists() and path.stat().st_size > 0, 20, f"{path.name} was not saved")
            if i == 1 or i % 50 == 0:
                time.sleep(0.3)  # the save's last steps (history row) are done
                column[i] = resident_mb(s.prefix)
            for old in folder.glob("*"):  # the disk holds one capture at a time
                if old != path:
                    old.unlink()
        t.exit()
    shutil.rmtree(s.dir, ignore_errors=True)
    return column


def main():
    captures = int(sys.argv[1]) if len(sys.argv) > 1 else 300
    other_bin = Path(sys.argv[2]) if len(sys.argv) > 2 else None
    print(f"{captures} F11 captures of the whole 1024 x 768 screen per format, each saved automatically\n")
    print("| captures | " + " | ".join(f"{name} MB" for name, _, _ in FORMATS) + " |")
    print("|---|" + "---|" * len(FORMATS))
    columns = []
    for name, fmt, extension in FORMATS:
        columns.append(soak(name, fmt, extension, captures, other_bin))
    for i in sorted(columns[0]):
        print(f"| {i} | " + " | ".join(f"{c[i]:.1f}" for c in columns) + " |")


if __name__ == "__main__":
    main()
