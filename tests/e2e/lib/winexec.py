"""Running Windows programs of the test tree inside a WineSession without pipes.

The first Wine program of a session starts the prefix's background services (services.exe,
winedevice.exe, rpcss.exe, ...), and the desktop process may be started later; they inherit the
caller's stderr and stay for the whole session. With pipes (as `s.run` uses) the caller then
waits for an end of file that never comes. Output therefore goes to files here.
"""
import subprocess
import tempfile

import winenv


def e2e_dir():
    """tests/e2e/ of the Windows build tree: probe.exe, probehook.dll and fixture.exe live there."""
    return winenv.win_dir() / "tests" / "e2e"


def run_program(s, args, timeout=60):
    """Runs `wine ARGS...` (the loader of the session's tree) to its end; returns a CompletedProcess with text stdout and stderr."""
    argv = s.wine() + [str(a) for a in args]
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        r = subprocess.run(argv, env=s.env, cwd=s.bin, stdin=subprocess.DEVNULL, stdout=out,
                           stderr=err, timeout=timeout)
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(argv, r.returncode,
                                           out.read().decode("utf-8", "replace"),
                                           err.read().decode("utf-8", "replace"))


def start_program(s, args, output=None):
    """Starts `wine ARGS...` in the background (killed at the end of the session if still there).
    Its stdout and stderr go to the file `output` (default: none)."""
    argv = s.wine() + [str(a) for a in args]
    sink = open(output, "wb") if output else subprocess.DEVNULL
    try:
        p = subprocess.Popen(argv, env=s.env, cwd=s.bin, stdin=subprocess.DEVNULL, stdout=sink,
                             stderr=subprocess.STDOUT)
    finally:
        if output:
            sink.close()
    s.children.append(p)
    return p
