"""Pictures as numpy arrays (height x width x 3, uint8 RGB) and exact comparisons of regions.

Rectangles are [left, top, right, bottom], right and bottom exclusive, as the probe reports them.
"""
import numpy as np
from PIL import Image


def load_image(path):
    """A BMP, PNG (or anything PIL reads) as an RGB array; alpha is dropped."""
    with Image.open(path) as im:
        return np.asarray(im.convert("RGB")).copy()


def crop(image, rect):
    """The part of `image` inside `rect`; parts of the rectangle outside the image are cut off."""
    left, top, right, bottom = rect
    h, w = image.shape[:2]
    return image[max(top, 0):min(bottom, h), max(left, 0):min(right, w)]


def rect_mask(shape, rects):
    """A boolean mask of `shape` (height, width) that is True outside every rectangle."""
    mask = np.ones(shape[:2], dtype=bool)
    for left, top, right, bottom in rects:
        mask[max(top, 0):max(bottom, 0), max(left, 0):max(right, 0)] = False
    return mask


def differences(actual, expected, mask=None):
    """(count, examples): how many pixels differ (where `mask` is True), and up to five of them
    as (x, y, actual_rgb, expected_rgb)."""
    if actual.shape != expected.shape:
        raise AssertionError(f"sizes differ: {actual.shape[1]}x{actual.shape[0]} against "
                             f"{expected.shape[1]}x{expected.shape[0]}")
    differ = np.any(actual != expected, axis=2)
    if mask is not None:
        differ &= mask
    ys, xs = np.nonzero(differ)
    examples = [(int(x), int(y), tuple(int(v) for v in actual[y, x]), tuple(int(v) for v in expected[y, x]))
                for y, x in zip(ys[:5], xs[:5])]
    return int(differ.sum()), examples


def assert_same(actual, expected, mask=None, what="image"):
    """Fails unless the two arrays are equal pixel for pixel (where `mask` is True)."""
    count, examples = differences(actual, expected, mask)
    if count:
        shown = ", ".join(f"({x},{y}) {a} != {e}" for x, y, a, e in examples)
        raise AssertionError(f"{what}: {count} pixels differ, e.g. {shown}")
