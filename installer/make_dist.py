#!/usr/bin/python3
"""Builds what a Windows user downloads, into BUILD_ROOT/dist/:

    Tessaly-<version>-setup.exe        the installer of the 32-bit tree (NSIS)
    Tessaly-<version>-portable.zip     the 32-bit program folder as it is
    Tessaly-<version>-x64-setup.exe    the same two of the 64-bit tree
    Tessaly-<version>-x64-portable.zip

    installer/make_dist.py BUILD_ROOT

Both packages hold exactly the files of the tree's bin/ folder (the installer adds its
uninstaller); settings or history a local run may have left there are not shipped.
"""
import os
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
TOP = HERE.parent
TREES = {"x86": ("win", ""), "x64": ("win64", "-x64")}
# What a run of the program writes beside itself: the user's, never part of a package.
USER_FILES = {"configure.dat", "save.dat", "annotate.dat", "capture-options.dat"}


def version():
    return (TOP / "VERSION").read_text().strip()


def version_numbers(text):
    parts = [int(p) for p in text.split(".")]
    return ".".join(str(p) for p in (parts + [0, 0, 0, 0])[:4])


def shipped_files(bin_dir):
    """The files of a binary folder that make up the program, sorted by name."""
    return sorted((p for p in Path(bin_dir).iterdir()
                   if p.is_file() and p.name.lower() not in USER_FILES), key=lambda p: p.name.lower())


def package_names(arch):
    suffix = TREES[arch][1]
    v = version()
    return f"Tessaly-{v}{suffix}-setup.exe", f"Tessaly-{v}{suffix}-portable.zip"


def write_zip(files, target):
    partial = target.with_name(target.name + ".partial")
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for f in files:
            z.write(f, "Tessaly/" + f.name)
    os.replace(partial, target)


def nsis_path(path):
    return str(path).replace('"', '$\\"')


def write_installer(arch, files, tree, target):
    with tempfile.TemporaryDirectory() as scratch:
        scratch = Path(scratch)
        (scratch / "files.nsh").write_text(
            "".join(f'File "{nsis_path(f)}"\n' for f in files))
        (scratch / "remove.nsh").write_text(
            "".join(f'Delete "$INSTDIR\\{f.name}"\n' for f in files))
        partial = target.with_name(target.name + ".partial")
        command = ["makensis", "-V2", "-NOCD",
                   f"-DVERSION={version()}", f"-DVERSION_NUMBERS={version_numbers(version())}",
                   f"-DOUTFILE={partial}", f"-DFILES_NSH={scratch / 'files.nsh'}",
                   f"-DREMOVE_NSH={scratch / 'remove.nsh'}", f"-DICON={tree / 'res' / 'Tessaly.ico'}"]
        if arch == "x64":
            command.append("-DX64")
        command.append(str(HERE / "tessaly.nsi"))
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        os.replace(partial, target)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_dist.py BUILD_ROOT")
    root = Path(sys.argv[1]).resolve()
    dist = root / "dist"
    dist.mkdir(parents=True, exist_ok=True)
    for arch, (tree_name, _) in TREES.items():
        tree = root / tree_name
        files = shipped_files(tree / "bin")
        if not any(f.name == "Tessaly.exe" for f in files):
            sys.exit(f"{tree / 'bin'} holds no Tessaly.exe: build the {tree_name} tree first")
        setup, portable = package_names(arch)
        write_installer(arch, files, tree, dist / setup)
        write_zip(files, dist / portable)
        print(f"{dist / setup}\n{dist / portable}")


if __name__ == "__main__":
    main()
