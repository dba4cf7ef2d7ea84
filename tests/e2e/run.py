"""Runs one end-to-end scenario: `run.py GROUP NAME` calls scenario_NAME() of scenarios/GROUP.py.
A scenario raises (usually AssertionError) to fail; returning means it passed."""
import importlib
import sys
import traceback
from pathlib import Path

HERE = Path(__file__).resolve().parent
sys.path[:0] = [str(HERE), str(HERE.parent / "harness")]

import winenv  # noqa: E402  (found through the path above)


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: run.py GROUP NAME")
    group, name = sys.argv[1:]
    module = importlib.import_module(f"scenarios.{group}")
    scenario = getattr(module, f"scenario_{name}")
    try:
        scenario()
    except winenv.Skip as e:
        print(f"e2e.{group}.{name}: skipped: {e}")
        sys.exit(77)
    except Exception:
        traceback.print_exc()
        sys.exit(1)
    print(f"e2e.{group}.{name}: passed")


if __name__ == "__main__":
    main()
