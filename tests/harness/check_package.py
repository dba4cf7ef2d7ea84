"""What a user downloads, checked without Windows: every shipped binary of both trees carries the
version resource with the one version number of VERSION (file and product version, product name,
description, copyright), and so do the installers; each portable zip holds exactly the files of
its tree's bin/ folder, byte for byte, in one top folder."""
import sys
import zipfile
from pathlib import Path

HERE = Path(__file__).resolve().parent
TOP = HERE.parents[1]
sys.path[:0] = [str(HERE), str(TOP / "installer")]
import make_dist  # noqa: E402
import version_resource  # noqa: E402
import winenv  # noqa: E402


def check_version(path, text, numbers, problems):
    info = version_resource.read(path)
    if info is None:
        problems.append(f"{path.name}: no version resource")
        return
    if info["file_version"] != numbers or info["product_version"] != numbers:
        problems.append(f"{path.name}: numbers {info['file_version']} {info['product_version']}, want {numbers}")
    strings = info["strings"]
    for name in ("FileVersion", "ProductVersion"):
        if strings.get(name) != text:
            problems.append(f"{path.name}: {name} is {strings.get(name)!r}, want {text!r}")
    if strings.get("ProductName") != "Tessaly Screen Capture":
        problems.append(f"{path.name}: ProductName {strings.get('ProductName')!r}")
    for name in ("FileDescription", "LegalCopyright"):
        if not strings.get(name):
            problems.append(f"{path.name}: no {name}")


def main():
    root = winenv.build_root()
    text = make_dist.version()
    numbers = tuple(int(n) for n in make_dist.version_numbers(text).split("."))
    problems = []
    for arch, (tree, _) in make_dist.TREES.items():
        bin_dir = root / tree / "bin"
        binaries = sorted(list(bin_dir.glob("*.exe")) + list(bin_dir.glob("*.dll")))
        names = {b.name for b in binaries}
        for expected in ("Tessaly.exe", "Fennick.dll", "Torvel.dll", "Plimsey.dll", "Osgrave.dll", "Wexbury.dll"):
            if expected not in names:
                problems.append(f"{arch}: {expected} missing from {bin_dir}")
        for b in binaries:
            check_version(b, text, numbers, problems)

        setup, portable = (root / "dist" / n for n in make_dist.package_names(arch))
        if not setup.exists():
            problems.append(f"{setup} is missing")
        else:
            check_version(setup, text, numbers, problems)
        shipped = {f.name: f.read_bytes() for f in bin_dir.iterdir()
                   if f.is_file() and f.name.lower() not in make_dist.USER_FILES}
        if not portable.exists():
            problems.append(f"{portable} is missing")
            continue
        with zipfile.ZipFile(portable) as z:
            entries = {i.filename: z.read(i) for i in z.infolist()}
        if set(entries) != {"Tessaly/" + n for n in shipped}:
            problems.append(f"{portable.name} holds {sorted(entries)}, want {sorted(shipped)}")
        for name, data in shipped.items():
            if entries.get("Tessaly/" + name, data) != data:
                problems.append(f"{portable.name}: {name} differs from {bin_dir / name}")
        print(f"{arch}: {len(binaries)} binaries, {setup.name}, {portable.name} ({len(entries)} files) checked")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
