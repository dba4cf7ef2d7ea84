"""Whether a dialog's controls are laid out whole, from the probe's view of it (rectangles in screen
coordinates, right and bottom exclusive): every visible control inside its parent's client area,
every control that starts inside a group box or tab control wholly inside it, and no two controls on
top of each other (group boxes and tab controls frame others; an up-down control sits on its
buddy's edge)."""

GROUP_BOX = 7        # BS_GROUPBOX
TYPE_MASK = 0x0F


def is_frame(c):
    """A control drawn around others: a group box, or the tab control a property page lies on."""
    if c["class"].lower() == "systabcontrol32":
        return True
    return c["class"].lower() == "button" and (c["style"] & TYPE_MASK) == GROUP_BOX


def inside(inner, outer):
    return (inner[0] >= outer[0] and inner[1] >= outer[1] and inner[2] <= outer[2] and
            inner[3] <= outer[3])


def overlap(a, b):
    return min(a[2], b[2]) > max(a[0], b[0]) and min(a[3], b[3]) > max(a[1], b[1])


def describe(c):
    return f"{c['class']} {c['id'] & 0xFFFF} '{c['text']}' {c['rect']}"


def problems(controls, parent_hwnd, area):
    """What is clipped or overlapping among the visible children of `parent_hwnd`, whose client area
    is `area` on the screen."""
    children = [c for c in controls if c["parent"] == parent_hwnd and c["visible"]]
    found = []
    for c in children:
        if not inside(c["rect"], area):
            found.append(f"{describe(c)} reaches outside {area}")
    groups = [c for c in children if is_frame(c)]
    others = [c for c in children if not is_frame(c)]
    for g in groups:
        for c in others:
            left, top = c["rect"][:2]
            starts_inside = g["rect"][0] <= left < g["rect"][2] and g["rect"][1] <= top < g["rect"][3]
            if starts_inside and not inside(c["rect"], g["rect"]):
                found.append(f"{describe(c)} crosses the edge of {describe(g)}")
    for i, a in enumerate(others):
        for b in others[i + 1:]:
            if "msctls_updown32" in (a["class"].lower(), b["class"].lower()):
                continue
            if overlap(a["rect"], b["rect"]):
                found.append(f"{describe(a)} overlaps {describe(b)}")
    return found
