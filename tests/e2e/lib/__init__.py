"""Python side of the end-to-end helpers: the probe (probe.py), the fixture program (fixture.py),
image loading and comparison (images.py), and running Windows programs in a session (winexec.py)."""
