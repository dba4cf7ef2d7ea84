"""Both shipped folders run on a bare Windows: every binary of build/win is PE32 for i386 and every
binary of build/win64 PE32+ for x86-64, and each imports only system libraries (and the program
only our own agent libraries besides): no libstdc++, libgcc, winpthread or zlib DLLs. The 32-bit
program is large-address-aware, so that an 8K image and the editor's copies of it fit. Wexbury.dll,
loaded and unloaded for every JPEG save, carries no copy of the POSIX thread library either (it
would keep two handles for every thread the writer starts: TlsAlloc is its sign). Both trees are
checked on every machine, whichever one the Windows tests run."""
import re
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import winenv  # noqa: E402

SYSTEM = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll", "comdlg32.dll",
          "msvcrt.dll", "winmm.dll", "shell32.dll", "ole32.dll", "oleaut32.dll", "hhctrl.ocx",
          "msvfw32.dll", "dwmapi.dll", "shlwapi.dll", "version.dll"}
OURS = {"fennick.dll", "torvel.dll", "plimsey.dll", "osgrave.dll"}
# What `file` says of each tree's binaries, and the objdump that reads their imports.
KINDS = {
    "x86": ("PE32 ", "Intel 80386", "i686-w64-mingw32-objdump"),
    "x64": ("PE32+ ", "x86-64", "x86_64-w64-mingw32-objdump"),
}


def check_tree(arch):
    bin_dir = winenv.win_dir(arch) / "bin"
    format_word, machine, objdump = KINDS[arch]
    problems = []
    binaries = sorted(list(bin_dir.glob("*.exe")) + list(bin_dir.glob("*.dll")))
    if not any(b.name == "Tessaly.exe" for b in binaries):
        problems.append(f"{bin_dir}: Tessaly.exe is missing")
    for binary in binaries:
        kind = subprocess.run(["file", "-b", str(binary)], capture_output=True, text=True).stdout
        if not kind.startswith(format_word) or machine not in kind:
            problems.append(f"{arch} {binary.name}: {kind.strip()}")
        dump = subprocess.run([objdump, "-p", str(binary)], capture_output=True, text=True,
                              check=True).stdout
        if arch == "x86" and binary.name == "Tessaly.exe" and "large address aware" not in dump:
            problems.append(f"{arch} {binary.name} is not large-address-aware")
        if binary.name == "Wexbury.dll" and re.search(r"\bTlsAlloc\b", dump):
            problems.append(f"{arch} {binary.name} carries a thread library (it imports TlsAlloc)")
        for dll in re.findall(r"DLL Name: (\S+)", dump):
            allowed = SYSTEM | (OURS if binary.name == "Tessaly.exe" else set())
            if dll.lower() not in allowed:
                problems.append(f"{arch} {binary.name} imports {dll}")
    print(f"{arch}: {len(binaries)} binaries checked in {bin_dir}")
    return problems


def main():
    problems = [p for arch in winenv.ARCHES for p in check_tree(arch)]
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
