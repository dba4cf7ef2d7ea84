"""The editor's view seen from outside: where its client area is, what it shows, and what it should
show at a zoom and scroll position, worked out here from the picture alone.

    v = EditorView(t)                    # t: a started Tessaly whose frame is visible
    v.client                             # [left, top, right, bottom] in screen coordinates
    v.wait_showing(expected, "300 %")    # polls screenshots until the client area equals it
"""
import numpy as np

from .images import crop, differences, load_image
from .probe import wait_for
from .tessaly import FRAME

VIEW_ID = 0xE900  # the frame's one view (AFX_IDW_PANE_FIRST)
BACKGROUND = (0x00, 0x40, 0x80)  # the default background colour 0x00804000 as RGB


def expected_view(image, size, zoom, scroll=(0, 0), background=BACKGROUND):
    """The client area (width, height) showing `image` (an RGB array) at `zoom` >= 100 with the view
    scrolled to `scroll`: each image pixel covers zoom/100 window pixels each way; an image smaller
    than the window is centred, a larger one starts at minus the scroll position."""
    k = zoom // 100
    height, width = image.shape[:2]
    out = np.empty((size[1], size[0], 3), dtype=np.uint8)
    out[:] = background
    axes = []
    for client, length, offset in ((size[0], width, scroll[0]), (size[1], height, scroll[1])):
        total = length * k
        origin = (client - total) // 2 if client > total else -offset
        window = np.arange(client) - origin
        inside = (window >= 0) & (window < total)
        axes.append((np.nonzero(inside)[0], window[inside] // k))
    (xs, ix), (ys, iy) = axes
    out[np.ix_(ys, xs)] = image[np.ix_(iy, ix)]
    return out


def placed_rect(size, shown):
    """Where a picture of `shown` (width, height) sits in a client area of `size` when it is
    smaller: centred (client coordinates [left, top, right, bottom])."""
    left, top = (size[0] - shown[0]) // 2, (size[1] - shown[1]) // 2
    return [left, top, left + shown[0], top + shown[1]]


class EditorView:
    def __init__(self, t):
        self.t = t
        self.s = t.s
        frame = t.probe.dialog(FRAME)
        views = [c for c in frame["controls"] if c["id"] == VIEW_ID]
        assert views, f"no view in the frame: {frame['controls']}"
        self.hwnd = views[0]["hwnd"]
        self.shots = 0

    @property
    def client(self):
        """The view's client area in screen coordinates (it narrows when scroll bars appear)."""
        return self.t.probe.find(hwnd=self.hwnd)["client"]

    def size(self):
        left, top, right, bottom = self.client
        return right - left, bottom - top

    def screen_point(self, x, y):
        """The screen point of client point (x, y)."""
        left, top = self.client[:2]
        return left + x, top + y

    def shot(self):
        """The client area as it is on screen now (RGB array)."""
        self.shots += 1
        path = self.s.dir / f"view{self.shots}.png"
        self.s.screenshot(path)
        return crop(load_image(path), self.client)

    def wait_showing(self, expected, what, mask=None, timeout=10):
        """Polls until the client area equals `expected` (where `mask` is True); fails with the
        last difference."""
        last = {}

        def same():
            actual = self.shot()
            if actual.shape != expected.shape:
                last["error"] = f"client {actual.shape[1]}x{actual.shape[0]}, expected " \
                                f"{expected.shape[1]}x{expected.shape[0]}"
                return False
            count, examples = differences(actual, expected, mask)
            last["error"] = f"{count} pixels differ, e.g. {examples}"
            return count == 0
        try:
            return wait_for(same, timeout, interval=0.3)
        except AssertionError:
            raise AssertionError(f"the view does not show {what}: {last.get('error')}") from None

    def panes(self):
        return [p["text"] for p in self.t.probe.status(FRAME)["parts"][:3]]

    def wait_panes(self, *texts, timeout=10):
        """Waits until the first status panes read `texts` (None leaves a pane unchecked)."""
        def match():
            now = self.panes()
            return all(want is None or now[i] == want for i, want in enumerate(texts))
        try:
            wait_for(match, timeout)
        except AssertionError:
            raise AssertionError(f"status panes {self.panes()}, expected {list(texts)}") from None

    def drag(self, start, end, steps=4, button=1):
        """Presses the button at client point `start`, moves in steps to `end`, releases."""
        sx, sy = self.screen_point(*start)
        ex, ey = self.screen_point(*end)
        self.s.xdotool("mousemove", sx, sy)
        self.s.xdotool("mousedown", button)
        for i in range(1, steps + 1):
            self.s.xdotool("mousemove", sx + (ex - sx) * i // steps, sy + (ey - sy) * i // steps)
        self.s.xdotool("mouseup", button)
