"""The end-to-end helpers checked under Wine: the probe reads what the fixture shows."""

import winenv
from lib.fixture import (CAPTION, IDCANCEL, IDNO, layout, pattern_image, show_message_box,
                         start_fixture)
from lib.images import assert_same, crop, differences, load_image
from lib.probe import Probe, control, menu_item, wait_for

VK_F11 = 0x7A


def session(name):
    return winenv.WineSession("e2e.selftest." + name)


def scenario_fixture_window():
    """The window and its controls where the layout puts them (also as a popup half off the
    screen); clicks, commands, texts and raw messages reach it; hot-key check; closing."""
    with session("fixture_window") as s:
        p = Probe(s)
        f = start_fixture(s, pos=(100, 100), size=(480, 360))
        w = f.window
        assert (w["class"], w["caption"], w["visible"]) == ("TessalyFixture", CAPTION, True), w
        assert w["rect"] == [100, 100, 580, 460], w["rect"]
        left, top, right, bottom = w["client"]
        assert w["rect"][0] < left < right < w["rect"][2] and w["rect"][1] < top < bottom < w["rect"][3]
        assert p.foreground(CAPTION, timeout=3000), "the fixture did not come to the front"

        found = p.dialog(CAPTION)
        for child in layout(s)["children"]:
            c = control(found, child["id"])
            assert c is not None, f"control {child['id']} is missing"
            l, t, r, b = child["rect"]
            assert c["rect"] == [left + l, top + t, left + r, top + b], (child, c)
            assert (c["class"], c["text"]) == (child["class"], child["text"]), (child, c)
        panel, inner = control(found, 1004), control(found, 1005)
        assert inner["parent"] == panel["hwnd"], "Inner is not inside the panel"
        assert found["text"] is None and found["icon"] is None

        popup = start_fixture(s, caption="Popup Fixture", pos=(-20, 700), size=(200, 100), popup=True)
        assert popup.window["rect"] == [-20, 700, 180, 800], popup.window["rect"]
        assert popup.window["client"] == popup.window["rect"]
        assert p.find("Popup Fixture", cls="NoSuchClass") is None
        assert p.find("No Such Window", timeout=200) is None
        names = [x["caption"] for x in p.windows(visible=True)]
        assert CAPTION in names and "Popup Fixture" in names, names
        popup.close()

        p.click(CAPTION, 1001)
        f.wait_event("command", 1001)
        p.click(CAPTION, 1005)  # nested in the panel
        f.wait_event("command", 1005)
        p.command(CAPTION, 4242)
        f.wait_event("command", 4242)

        p.settext(CAPTION, 1002, "Changed")
        assert control(p.dialog(CAPTION), 1002)["text"] == "Changed"
        WM_GETTEXTLENGTH, WM_COMMAND = 0x000E, 0x0111
        assert p.send(CAPTION, WM_GETTEXTLENGTH) == len(CAPTION)
        p.post(CAPTION, WM_COMMAND, 4343, 0)
        f.wait_event("command", 4343)

        try:
            p.click(CAPTION, 9999)
        except AssertionError as e:
            assert "control not found" in str(e), e
        else:
            raise AssertionError("a click on a missing control passed")

        assert p.hotkey(VK_F11)["registered"] is True
        f.close()
        assert f.events()[-1] == {"event": "close"}
        assert p.find(CAPTION) is None


def scenario_fixture_pixels():
    """The painted pattern in an X screenshot and in the probe's own grab, to the pixel; the
    clipboard empty at first, then holding the fixture's 64 x 48 bitmap."""
    with session("fixture_pixels") as s:
        p = Probe(s)
        f = start_fixture(s, pos=(40, 30), size=(400, 300))
        expected = f.expected_client()
        mask = f.pattern_mask()
        client = f.window["client"]
        # The window may still be painting right after it appeared.
        x, y = expected.shape[1] * 3 // 4 + 3, expected.shape[0] * 3 // 4 + 3
        wait_for(lambda: p.pixel(client[0] + x, client[1] + y) == tuple(expected[y, x]), 5)

        s.screenshot(s.dir / "x.png")
        assert_same(crop(load_image(s.dir / "x.png"), client), expected, mask, "X screenshot")
        shot = p.screen(s.dir / "grab.bmp")
        assert (shot["width"], shot["height"], shot["bitcount"]) == (1024, 768, 24), shot
        grabbed = load_image(s.dir / "grab.bmp")
        assert_same(crop(grabbed, client), expected, mask, "probe screen grab")
        # The comparison does notice a window one pixel off.
        shifted = [client[0] + 1, client[1], client[2] + 1, client[3]]
        assert differences(crop(grabbed, shifted), expected, mask)[0] > 1000

        part = p.screen(s.dir / "part.bmp", rect=client)
        assert part["rect"] == client
        assert_same(load_image(s.dir / "part.bmp"), expected, mask, "probe grab of the client area")
        assert p.pixel(client[0] + 1, client[1] + 1) == (255, 0, 0)
        panel = f.layout["children"][3]["rect"]
        assert p.pixel(client[0] + panel[0] + 2, client[1] + panel[1] + 2) == (0, 255, 255)

        popup = start_fixture(s, caption="Popup Fixture", pos=(600, 400), size=(96, 64), popup=True)
        wait_for(lambda: p.pixel(601, 401) == (255, 0, 0), 5)
        s.screenshot(s.dir / "x2.png")
        assert_same(crop(load_image(s.dir / "x2.png"), [600, 400, 696, 464]),
                    pattern_image(96, 64, f.layout["pattern"]), popup.pattern_mask(), "popup window")
        popup.close()
        f.close()

        empty = p.clipboard(s.dir / "none.bmp")
        assert empty["image"] is None and not (s.dir / "none.bmp").exists(), empty

        clipped = start_fixture(s, caption="Clipboard Fixture", clipboard=True)
        c = p.clipboard(s.dir / "clip.bmp", timeout=3000)
        assert "CF_DIB" in [x["name"] for x in c["formats"]], c["formats"]
        image = c["image"]
        assert (image["width"], image["height"], image["bitcount"]) == (64, 48, 24), image
        assert_same(load_image(s.dir / "clip.bmp"), pattern_image(64, 48, clipped.layout["pattern"]),
                    what="clipboard bitmap")
        clipped.close()


def scenario_message_box():
    """A message box read by `dialog`, answered by a probe click and by a real mouse click."""
    with session("message_box") as s:
        p = Probe(s)
        box = show_message_box(s, "Saved.\nSecond line", "Selftest Box", icon="warning",
                               buttons="okcancel")
        d = p.dialog("Selftest Box", visible=True, timeout=10000)
        assert d is not None, "the message box did not appear"
        assert d["window"]["class"] == "#32770"
        assert d["text"] == "Saved.\nSecond line", d["text"]
        assert d["statics"] == ["Saved.\nSecond line"], d["statics"]
        assert d["icon"] is not None, "no icon static"
        assert d["icon"]["kind"] == "warning", d["icon"]
        buttons = {c["id"]: c["text"] for c in d["controls"] if c["class"] == "Button"}
        assert buttons == {1: "OK", 2: "Cancel"}, buttons
        assert d["defid"] == 1 and d["focus"]["id"] == 1, (d["defid"], d["focus"])
        p.click("Selftest Box", 2)
        assert box.answer() == IDCANCEL

        box = show_message_box(s, "Keep it?", "Selftest Question", icon="question", buttons="yesno")
        d = p.dialog("Selftest Question", visible=True, timeout=10000)
        assert d["icon"]["kind"] == "question", d["icon"]
        no = control(d, IDNO)
        assert no["text"] == "&No", no
        x, y = (no["rect"][0] + no["rect"][2]) // 2, (no["rect"][1] + no["rect"][3]) // 2
        s.xdotool("mousemove", x, y, "click", 1)
        assert box.answer() == IDNO
        assert p.find("Selftest Question") is None


def scenario_common_controls():
    """Status bar panes, list view rows and the menu bar of another process."""
    with session("common_controls") as s:
        p = Probe(s)
        f = start_fixture(s, statusbar=True, listview=True, menu=True)
        described = f.layout

        bar = p.status(CAPTION)
        assert [x["text"] for x in bar["parts"]] == described["statusbar"]["texts"], bar
        assert [x["right"] for x in bar["parts"]] == described["statusbar"]["rights"], bar
        assert bar["parts"][0]["width"] == 120 and bar["simple"] is False, bar
        assert bar["rect"][3] == f.window["client"][3], "the status bar is not at the bottom"

        lv = p.listview(CAPTION)
        assert lv["columns"] == described["listview"]["columns"], lv["columns"]
        assert [i["texts"] for i in lv["items"]] == described["listview"]["rows"], lv["items"]
        assert lv["selected"] == [described["listview"]["selected"]], lv["selected"]
        assert lv["items"][1]["focused"] and not lv["items"][0]["selected"]

        m = p.menu(CAPTION)
        assert [i["text"] for i in m["items"]] == ["&File", "&View"], m
        checked, grayed = menu_item(m, 2002), menu_item(m, 2003)
        assert checked["checked"] and not checked["grayed"], checked
        assert grayed["grayed"] and not grayed["checked"], grayed
        assert menu_item(m, text="&Open\tCtrl+O")["id"] == 2001
        assert [i["separator"] for i in m["items"][0]["submenu"]] == [False, False, True, False, False]
        zoom_out = menu_item(m, 2012)
        assert zoom_out["checked"] and zoom_out["radio"], zoom_out

        p.command(CAPTION, 2002)  # the fixture toggles the check mark
        f.wait_event("command", 2002)
        assert not menu_item(p.menu(CAPTION, init=True), 2002)["checked"]
        f.close()
