"""The shipped folder runs on a bare Windows: every binary is PE32 for i386 and imports only
system libraries (and the program only our own agent libraries besides): no libstdc++, libgcc
or winpthread DLLs."""
import os
import re
import subprocess
import sys
from pathlib import Path

SYSTEM = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll", "comdlg32.dll",
          "msvcrt.dll", "winmm.dll", "shell32.dll", "ole32.dll", "oleaut32.dll", "hhctrl.ocx",
          "msvfw32.dll", "dwmapi.dll", "shlwapi.dll", "version.dll"}
OURS = {"fennick.dll", "torvel.dll", "plimsey.dll", "osgrave.dll"}


def main():
    bin_dir = Path(os.environ["TESSALY_WIN_DIR"]) / "bin"
    problems = []
    binaries = sorted(list(bin_dir.glob("*.exe")) + list(bin_dir.glob("*.dll")))
    if not any(b.name == "Tessaly.exe" for b in binaries):
        problems.append("Tessaly.exe is missing")
    for binary in binaries:
        kind = subprocess.run(["file", "-b", str(binary)], capture_output=True, text=True).stdout
        if "PE32 " not in kind or "Intel 80386" not in kind:
            problems.append(f"{binary.name}: {kind.strip()}")
        dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", str(binary)], capture_output=True,
                              text=True, check=True).stdout
        for dll in re.findall(r"DLL Name: (\S+)", dump):
            allowed = SYSTEM | (OURS if binary.name == "Tessaly.exe" else set())
            if dll.lower() not in allowed:
                problems.append(f"{binary.name} imports {dll}")
    for p in problems:
        print(p)
    print(f"{len(binaries)} binaries checked")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
