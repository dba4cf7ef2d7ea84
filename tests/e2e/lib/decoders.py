"""Independent decoders for what the program writes: djpeg (libjpeg-turbo) for JPEG, gif2rgb
(giflib) for GIF, PIL for BMP; pictures come back as numpy RGB arrays."""
import subprocess
import tempfile
from pathlib import Path

import numpy as np

from .images import load_image


def decode_bmp(path):
    return load_image(path)


def decode_jpeg(path):
    with tempfile.TemporaryDirectory() as tmp:
        out = Path(tmp) / "decoded.ppm"
        subprocess.run(["djpeg", "-pnm", "-outfile", str(out), str(path)], check=True)
        return load_image(out)


def gif_size(path):
    data = Path(path).read_bytes()
    return int.from_bytes(data[6:8], "little"), int.from_bytes(data[8:10], "little")


def decode_gif(path):
    width, height = gif_size(path)
    with tempfile.TemporaryDirectory() as tmp:
        out = Path(tmp) / "decoded.rgb"
        subprocess.run(["gif2rgb", "-1", "-o", str(out), str(path)], check=True,
                       stdout=subprocess.DEVNULL)
        raw = np.frombuffer(out.read_bytes(), dtype=np.uint8)
        return raw.reshape(height, width, 3).copy()


def psnr(a, b):
    mse = np.mean((a.astype(np.float64) - b.astype(np.float64)) ** 2)
    return float("inf") if mse == 0 else 10 * np.log10(255.0 ** 2 / mse)


def decode_png(path):
    """Pillow's own PNG decoder (not libpng); checks the signature first."""
    assert Path(path).read_bytes()[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG file"
    return load_image(path)
