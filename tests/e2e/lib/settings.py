"""configure.dat written and read by the tests themselves, from the documented layout (not from
the program's own code): 557 bytes, little-endian, no padding."""
import struct

DEFAULTS = {
    "hotKeyCode": 0x7A, "hotKeyModifiers": 0, "captureMode": 3, "playSound": 1, "showInfoDialog": 1,
    "saveSettingsOnExit": 1, "showEditor": 1, "copyToClipboard": 0, "saveToFile": 1, "saveMode": 1,
    "saveDirectory": "c:\\CaptureImage\\", "baseName": "Kelvane_", "nextNumber": 1, "fileFormat": 0,
    "jpegGrayscale": 0, "jpegProgressive": 0, "jpegSmoothing": 0, "jpegQuality": 75,
    "backgroundColor": 0x00804000,
}

# (field, struct format) in file order; "T" marks a 260-byte text field.
LAYOUT = [("hotKeyCode", "H"), ("hotKeyModifiers", "H"), ("captureMode", "i"), ("playSound", "B"),
          ("showInfoDialog", "B"), ("saveSettingsOnExit", "B"), ("showEditor", "B"),
          ("copyToClipboard", "B"), ("saveToFile", "B"), ("saveMode", "i"), ("saveDirectory", "T"),
          ("baseName", "T"), ("nextNumber", "i"), ("fileFormat", "i"), ("jpegGrayscale", "B"),
          ("jpegProgressive", "B"), ("jpegSmoothing", "B"), ("jpegQuality", "i"),
          ("backgroundColor", "I")]
SIZE = 557


def encode(filler=b"\0", **changes):
    """The file for the defaults with `changes`; `filler` pads text fields after their zero byte."""
    values = dict(DEFAULTS, **changes)
    out = b""
    for name, kind in LAYOUT:
        if kind == "T":
            raw = values[name].encode("latin-1") + b"\0"
            out += raw + (filler * 260)[: 260 - len(raw)]
        else:
            out += struct.pack("<" + kind, values[name])
    assert len(out) == SIZE
    return out


def decode(data):
    assert len(data) == SIZE, f"configure.dat is {len(data)} bytes"
    values, at = {}, 0
    for name, kind in LAYOUT:
        if kind == "T":
            values[name] = data[at:at + 260].split(b"\0")[0].decode("latin-1")
            at += 260
        else:
            (values[name],) = struct.unpack_from("<" + kind, data, at)
            at += struct.calcsize(kind)
    return values
