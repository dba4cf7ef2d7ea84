"""Runs a Windows benchmark of the Windows tree (bench/bench_NAME.exe) in a private Wine session, as
the Windows tests run, and prints its table.

Usage: TESSALY_BUILD_ROOT=build TESSALY_WORK=build/host/testruns \\
           python3 bench/run_under_wine.py NAME [ROUNDS]
"""
import shutil
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "harness"))
import winenv  # noqa: E402


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    name = sys.argv[1]
    _, win = winenv.build_paths()
    exe = win / "bench" / f"bench_{name}.exe"
    if not exe.exists():
        sys.exit(f"{exe} is missing: build the Windows tree first")
    session = winenv.WineSession(f"bench.{name}", extra_files=[exe])
    with session as s:
        r = s.run([exe.name] + sys.argv[2:3], timeout=1800)
    sys.stdout.write(r.stdout)
    sys.stderr.write(r.stderr if r.returncode else "")
    shutil.rmtree(session.dir, ignore_errors=True)
    return r.returncode


if __name__ == "__main__":
    sys.exit(main())
