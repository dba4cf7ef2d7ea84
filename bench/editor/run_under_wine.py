"""Runs bench_editor.exe of the Windows tree in a private Wine session (its own Xvfb and prefix,
as the Windows tests run) and prints its table.

Usage: TESSALY_BUILD_ROOT=build TESSALY_WORK=build/host/testruns \\
           python3 bench/editor/run_under_wine.py [ROUNDS]
"""
import shutil
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "harness"))
import winenv  # noqa: E402


def main():
    _, win = winenv.build_paths()
    exe = win / "bench" / "bench_editor.exe"
    if not exe.exists():
        sys.exit(f"{exe} is missing: build the Windows tree first")
    rounds = sys.argv[1] if len(sys.argv) > 1 else "9"
    session = winenv.WineSession("bench.editor", extra_files=[exe])
    with session as s:
        r = s.run([exe.name, rounds], timeout=1800)
    sys.stdout.write(r.stdout)
    sys.stderr.write(r.stderr if r.returncode else "")
    shutil.rmtree(session.dir, ignore_errors=True)  # the prefix alone is over half a gigabyte
    return r.returncode


if __name__ == "__main__":
    sys.exit(main())
