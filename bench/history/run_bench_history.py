"""Runs bench_history.exe of the Windows tree in a private Wine session and prints its table.
Usage: run_bench_history.py WINDOWS_BUILD_DIR WORK_DIR [ROUNDS]"""
import os
import sys
from pathlib import Path

win_dir, work = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
os.environ.setdefault("TESSALY_WIN_DIR", str(win_dir))
os.environ.setdefault("TESSALY_WORK", str(work))
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "harness"))
import winenv  # noqa: E402

exe = win_dir / "bench" / "bench_history.exe"
if not exe.exists():
    # The other benchmarks still run: say what is missing and step aside.
    print(f"{exe} is missing: build the Windows tree first (make win)")
    sys.exit(0)
rounds = [a for a in sys.argv[3:4] if a.isdigit()]
with winenv.WineSession("bench.history", extra_files=[exe]) as s:
    r = s.run([exe.name] + rounds, timeout=600)
sys.stdout.write(r.stdout)
sys.stderr.write(r.stderr)
sys.exit(r.returncode)
