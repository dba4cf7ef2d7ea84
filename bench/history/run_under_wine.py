"""Runs bench_history.exe of the Windows tree in a private Wine session and prints its table.

Usage: TESSALY_BUILD_ROOT=build TESSALY_WORK=build/host/testruns \\
           python3 bench/history/run_under_wine.py [ROUNDS]
"""
import shutil
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "harness"))
import winenv  # noqa: E402


def main():
    _, win = winenv.build_paths()
    exe = win / "bench" / "bench_history.exe"
    if not exe.exists():
        sys.exit(f"{exe} is missing: build the Windows tree first")
    rounds = [a for a in sys.argv[1:2] if a.isdigit()]
    session = winenv.WineSession("bench.history", extra_files=[exe])
    with session as s:
        r = s.run([exe.name] + rounds, timeout=600)
    sys.stdout.write(r.stdout)
    sys.stderr.write(r.stderr if r.returncode else "")
    shutil.rmtree(session.dir, ignore_errors=True)
    return r.returncode


if __name__ == "__main__":
    sys.exit(main())
