"""Reads the version resource (VS_VERSIONINFO) of a Windows binary without Windows: the block is
found by its UTF-16 key and walked as the tree of (length, value length, type, key, value, children)
records it is, so the numbers and strings come from the structure, not from a loose text search."""
import struct

KEY = "VS_VERSION_INFO".encode("utf-16-le") + b"\0\0"
FIXED_SIGNATURE = 0xFEEF04BD


def _align(offset):
    return (offset + 3) & ~3


def _record(data, start):
    """(length, value_length, type, key, value_start, children_start, end) of the record at start."""
    length, value_length, kind = struct.unpack_from("<HHH", data, start)
    key_end = start + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[start + 6:key_end].decode("utf-16-le")
    value_start = _align(key_end + 2)
    value_bytes = value_length * 2 if kind == 1 else value_length
    return length, value_length, kind, key, value_start, _align(value_start + value_bytes), start + length


def _children(data, start, end):
    while start < end:
        rec = _record(data, start)
        if rec[0] == 0:
            return
        yield rec
        start = _align(rec[6])


def read(path):
    """{"file_version": (a, b, c, d), "product_version": (...), "strings": {name: text}} or None
    when the binary carries no version resource."""
    data = open(path, "rb").read()
    at = data.find(KEY)
    if at < 6:
        return None
    start = at - 6
    length, value_length, _, key, value_start, children, end = _record(data, start)
    if key != "VS_VERSION_INFO" or value_length < 52:
        return None
    fixed = struct.unpack_from("<13I", data, value_start)
    if fixed[0] != FIXED_SIGNATURE:
        return None
    def four(ms, ls):
        return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    result = {"file_version": four(fixed[2], fixed[3]), "product_version": four(fixed[4], fixed[5]),
              "strings": {}}
    for rec in _children(data, children, end):
        if rec[3] != "StringFileInfo":
            continue
        for table in _children(data, rec[5], rec[6]):
            for entry in _children(data, table[5], table[6]):
                _, vlen, kind, name, vstart, _, _ = entry
                text = data[vstart:vstart + vlen * 2].decode("utf-16-le").rstrip("\0")
                result["strings"][name] = text
    return result


if __name__ == "__main__":
    import json
    import sys
    for p in sys.argv[1:]:
        print(p, json.dumps(read(p)))
