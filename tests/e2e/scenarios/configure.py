"""The Configure sheet: its two pages, what OK and Cancel take back, and the capture hot-key that
is let go while the sheet is open and registered again afterwards."""
import time

import winenv
from lib import settings
from lib.probe import wait_for
from lib.tessaly import FRAME, MESSAGE_CAPTION, VK_F11, Tessaly

SHEET = "Configure"
ID_CONFIGURE = 32772
IDOK, IDCANCEL, IDHELP, ID_APPLY = 1, 2, 9, 0x3021
HELP_WINDOW = "Tessaly Screen Capture Help"
WM_COMMAND, WM_USER = 0x0111, 0x0400
PSM_SETCURSEL = WM_USER + 101
HKM_SETHOTKEY, HKM_GETHOTKEY = WM_USER + 1, WM_USER + 2
CB_SETCURSEL, CBN_SELCHANGE = 0x014E, 1
MOD_ALT, MOD_CONTROL, MOD_SHIFT = 1, 2, 4
HOTKEYF_SHIFT, HOTKEYF_CONTROL, HOTKEYF_ALT = 1, 2, 4
VK_F9 = 0x78

# Capture page.
HOTKEY, FULL_SCREEN, ACTIVE_WINDOW, WINDOW_CONTROL, RECTANGLE, DIRECTX = 1003, 1010, 1005, 1006, 1007, 1044
CAPTURE_RADIOS = (FULL_SCREEN, ACTIVE_WINDOW, WINDOW_CONTROL, RECTANGLE, DIRECTX)
# Edit page.
SAVE_TO_FILE, SAVE_AS, AUTO_SAVE, DIRECTORY, BASE_NAME, FORMAT, SETTING = 1001, 1004, 1011, 1002, 1006, 1007, 1009
START, START_LABEL, SPIN, SAMPLE, BROWSE = 1040, 1041, 1020, 1043, 1003
NAMING = (1014, 1015, 1016, 1017, BASE_NAME, DIRECTORY, BROWSE, FORMAT)
COUNTER = (START, START_LABEL, SPIN)

DIRECTX_CAPTION = "DirectX Capture Notes"
DIRECTX_NOTE = ("Note for DirectX Full Screen Capture Settings:\n1.Use hotkey.\n2.No message dialog "
                "be shown.\n3.No 'save as' dialog after capture. Use auto-save.")
BAD_DIRECTORY = "Invalidate Directory, system will keep the previous value."
BAD_BASE_NAME = "Invalidate filebasename, system will keep the previous value."
HOTKEY_TAKEN = "Registering hotkey failed! It may be used for other program, please set it again."


def session(name):
    return winenv.WineSession("e2e.configure." + name)


class Sheet:
    """The open Configure sheet of one Tessaly, read through the probe."""

    def __init__(self, t):
        self.t = t
        self.probe = t.probe

    @classmethod
    def open(cls, t):
        t.probe.command(FRAME, ID_CONFIGURE)
        t.message(SHEET)
        return cls(t)

    def read(self):
        return self.probe.dialog(SHEET, visible=True)

    def page(self, caption):
        """The page's window and its controls by id (a page exists once it has been shown)."""
        d = self.read()
        pages = [c for c in d["controls"] if c["class"] == "#32770" and c["text"] == caption]
        assert pages, f"no page '{caption}'"
        controls = {c["id"] & 0xFFFF: c for c in d["controls"] if c["parent"] == pages[0]["hwnd"]}
        return pages[0], controls

    def control(self, caption, control_id):
        return self.page(caption)[1][control_id]

    def show(self, index, caption):
        """Brings a page to the front as a click on its tab does."""
        self.probe.send(SHEET, PSM_SETCURSEL, index, 0)
        wait_for(lambda: self.page(caption)[0]["visible"], 5, f"page '{caption}' did not show")

    def click(self, caption, control_id):
        self.probe.click(None, control_id, hwnd=self.page(caption)[0]["hwnd"])

    def settext(self, caption, control_id, text):
        self.probe.settext(None, control_id, text, hwnd=self.page(caption)[0]["hwnd"])

    def hot_key(self):
        """The hot-key control as (virtual key, flags)."""
        value = self.probe.send(None, HKM_GETHOTKEY, hwnd=self.control("Capture", HOTKEY)["hwnd"])
        return value & 0xFF, (value >> 8) & 0xFF

    def set_hot_key(self, key, flags):
        self.probe.send(None, HKM_SETHOTKEY, key | flags << 8, hwnd=self.control("Capture", HOTKEY)["hwnd"])

    def choose_format(self, index):
        """Selects a format as the user does: the selection, then the combo's notification."""
        page, controls = self.page("Edit")
        combo = controls[FORMAT]["hwnd"]
        self.probe.send(None, CB_SETCURSEL, index, hwnd=combo)
        self.probe.post(None, WM_COMMAND, FORMAT | CBN_SELCHANGE << 16, combo, hwnd=page["hwnd"])

    def close(self, button):
        self.probe.click(SHEET, button)
        wait_for(lambda: self.probe.find(SHEET, visible=True) is None, 10, "the sheet did not close")


def held_by_program(t, key, modifiers):
    """True while some program holds the hot-key (the probe cannot register it)."""
    return not t.probe.hotkey(key, modifiers)["registered"]


def assert_information(t, text):
    box = t.message(MESSAGE_CAPTION)
    assert box["text"] == text, box["text"]
    assert box["icon"] and box["icon"]["kind"] == "information", box["icon"]
    t.answer(MESSAGE_CAPTION)


def scenario_capture_page_and_ok_without_the_edit_page():
    """The sheet's buttons, Help among them; the hot-key is let go while the sheet is open and a
    second Configure command does nothing; the direct-grab radio always shows its note; OK without
    opening "Edit" keeps every saving setting but still refuses a directory that has vanished
    meanwhile."""
    with session("capture_page_and_ok_without_the_edit_page") as s:
        folder = s.dir / "shots"
        folder.mkdir()
        saving = dict(saveMode=2, saveDirectory=s.winpath(folder) + "\\", baseName="Shot-", nextNumber=1500,
                      fileFormat=1, jpegQuality=33, jpegSmoothing=1, copyToClipboard=1, showEditor=0)
        t = Tessaly(s).start(settings.encode(hotKeyModifiers=MOD_ALT, captureMode=3, **saving))
        assert held_by_program(t, VK_F11, MOD_ALT)

        sheet = Sheet.open(t)
        buttons = {c["id"]: c for c in sheet.read()["controls"] if c["parent"] == sheet.read()["window"]["hwnd"]}
        assert [buttons[i]["text"] for i in (IDOK, IDCANCEL, IDHELP, ID_APPLY)] == ["&OK", "&Cancel", "&Help", "&Apply"]
        assert all(buttons[i]["visible"] for i in (IDOK, IDCANCEL, IDHELP, ID_APPLY)), buttons
        assert buttons[IDHELP]["enabled"] and not buttons[ID_APPLY]["enabled"], "Apply stays off: no page marks a change"
        # Help gives the program's help; the sheet stays open behind it.
        t.probe.click(SHEET, IDHELP)
        viewer = t.probe.find(HELP_WINDOW, visible=True, timeout=15000)
        assert viewer and viewer["pid"] == t.probe.find(FRAME)["pid"], viewer
        t.probe.close(HELP_WINDOW)
        wait_for(lambda: t.probe.find(HELP_WINDOW, visible=True) is None, 10, "the help stayed open")
        assert t.probe.find(SHEET, visible=True), "Help closed the sheet"
        assert not held_by_program(t, VK_F11, MOD_ALT), "the hot-key stays registered while the sheet is open"
        assert sheet.hot_key() == (VK_F11, HOTKEYF_ALT)
        controls = sheet.page("Capture")[1]
        assert [controls[i]["checked"] for i in CAPTURE_RADIOS] == [0, 0, 1, 0, 0]
        assert controls[1012]["checked"] == 1 and controls[1008]["checked"] == 0

        t.probe.command(FRAME, ID_CONFIGURE)
        time.sleep(1.5)
        sheets = [w for w in t.probe.windows() if w["caption"] == SHEET]
        assert len(sheets) == 1, sheets

        for _ in range(2):  # also when the radio is already checked
            sheet.click("Capture", DIRECTX)
            note = t.message(DIRECTX_CAPTION)
            assert note["text"] == DIRECTX_NOTE, note["text"]
            # Wine keeps an empty icon static in every box: no system icon may show in it.
            assert note["icon"] is None or note["icon"]["kind"] is None, note["icon"]
            t.answer(DIRECTX_CAPTION)
            controls = sheet.page("Capture")[1]
            assert [controls[i]["checked"] for i in CAPTURE_RADIOS] == [0, 0, 0, 0, 1]

        folder.rmdir()
        sheet.close(IDOK)
        assert_information(t, BAD_DIRECTORY)
        assert held_by_program(t, VK_F11, MOD_ALT), "the hot-key was not registered again"
        t.exit()
        stored = settings.decode(t.settings_path.read_bytes())
        assert stored == dict(settings.DEFAULTS, hotKeyModifiers=MOD_ALT, captureMode=5, **saving), stored


def scenario_edit_page_enabling_sample_and_checks():
    """The Edit page follows its radios, "save to file" and the format; the sample shows the
    directory with its backslash, also one that Browse picked; a start number beyond the spin's range is kept; a directory typed
    without a backslash is stored with one; a base name with a colon is refused; JPEG options from
    "Setting" are kept for "jpg"."""
    with session("edit_page_enabling_sample_and_checks") as s:
        old, new = s.dir / "old", s.dir / "new folder"
        old.mkdir()
        new.mkdir()
        t = Tessaly(s).start(settings.encode(saveMode=1, saveDirectory=s.winpath(old) + "\\", nextNumber=1500,
                                             fileFormat=0))
        sheet = Sheet.open(t)
        sheet.show(1, "Edit")

        def enabled(ids):
            controls = sheet.page("Edit")[1]
            return [controls[i]["enabled"] for i in ids]
        assert sheet.control("Edit", SAVE_AS)["checked"] == 1
        assert enabled(NAMING) == [False] * 8 and enabled(COUNTER) == [True] * 3 and enabled([SETTING]) == [False]
        assert sheet.control("Edit", START)["text"] == "1500"
        assert sheet.control("Edit", SAMPLE)["text"] == s.winpath(old) + "\\Kelvane_1500.bmp"

        sheet.click("Edit", AUTO_SAVE)
        wait_for(lambda: enabled(NAMING) == [True] * 8, 5, "auto-save did not enable the naming controls")
        controls = sheet.page("Edit")[1]
        assert (controls[AUTO_SAVE]["checked"], controls[SAVE_AS]["checked"]) == (1, 0)
        assert enabled([SETTING]) == [False], "Setting is for jpg only"
        sheet.choose_format(1)
        wait_for(lambda: enabled([SETTING]) == [True], 5, "jpg did not enable Setting")
        assert sheet.control("Edit", SAMPLE)["text"].endswith("_1500.jpg")

        sheet.click("Edit", SAVE_TO_FILE)  # off: everything of saving goes
        wait_for(lambda: enabled((SAVE_AS, AUTO_SAVE) + NAMING + COUNTER + (SETTING,)) == [False] * 14, 5,
                 "saving controls stayed enabled")
        sheet.click("Edit", SAVE_TO_FILE)  # on again, with auto-save checked
        wait_for(lambda: enabled((SAVE_AS, AUTO_SAVE) + NAMING + COUNTER + (SETTING,)) == [True] * 14, 5,
                 "saving controls stayed disabled")

        sheet.click("Edit", BROWSE)
        browser = t.message("Browse for Folder")
        assert "Choose Folder:" in browser["statics"], browser["statics"]
        time.sleep(0.3)
        s.xdotool("key", "Return")
        wait_for(lambda: t.probe.find("Browse for Folder", visible=True) is None, 10, "the browser stayed")
        chosen = wait_for(lambda: sheet.control("Edit", DIRECTORY)["text"], 5)
        assert chosen.endswith("\\") and chosen != s.winpath(old) + "\\", chosen
        assert sheet.control("Edit", SAMPLE)["text"] == chosen + "Kelvane_1500.jpg"

        sheet.settext("Edit", DIRECTORY, s.winpath(new))
        sheet.settext("Edit", BASE_NAME, "a:b")
        sample = sheet.control("Edit", SAMPLE)["text"]
        assert sample == s.winpath(new) + "\\a:b1500.jpg", sample
        assert sheet.control("Edit", DIRECTORY)["text"] == s.winpath(new)

        sheet.click("Edit", SETTING)
        options = t.message("JPEG Options")
        assert [c["text"] for c in options["controls"] if c["id"] == 1002] == ["75"]
        t.probe.settext("JPEG Options", 1002, "20")
        t.answer("JPEG Options", "OK")

        sheet.close(IDOK)
        assert_information(t, BAD_BASE_NAME)
        time.sleep(0.5)
        assert t.probe.find(MESSAGE_CAPTION, visible=True) is None, "the directory was refused too"
        t.exit()
        stored = settings.decode(t.settings_path.read_bytes())
        assert stored == dict(settings.DEFAULTS, saveMode=2, saveDirectory=s.winpath(new) + "\\",
                              nextNumber=1500, fileFormat=1, jpegQuality=20), stored


def scenario_hot_key_cancel_change_clear_and_taken():
    """Cancel registers the unchanged hot-key again; a changed hot-key captures; a cleared one
    stores 0 and registers nothing, silently; one that another program took meanwhile is reported
    and cleared."""
    with session("hot_key_cancel_change_clear_and_taken") as s:
        folder = s.dir / "shots"
        folder.mkdir()
        t = Tessaly(s).start(settings.encode(captureMode=1, playSound=0, showInfoDialog=0, showEditor=0,
                                             saveMode=2, saveDirectory=s.winpath(folder) + "\\"))
        sheet = Sheet.open(t)
        assert not held_by_program(t, VK_F11, 0)
        sheet.close(IDCANCEL)
        assert held_by_program(t, VK_F11, 0), "Cancel did not register the hot-key again"

        sheet = Sheet.open(t)
        sheet.set_hot_key(VK_F9, HOTKEYF_CONTROL | HOTKEYF_SHIFT)
        sheet.close(IDOK)
        wait_for(lambda: held_by_program(t, VK_F9, MOD_CONTROL | MOD_SHIFT), 5, "the new hot-key is not registered")
        assert not held_by_program(t, VK_F11, 0), "the old hot-key is still registered"
        s.xdotool("key", "ctrl+shift+F9")
        wait_for(lambda: (folder / "Kelvane_001.bmp").exists(), 15, "the new hot-key did not capture")

        sheet = Sheet.open(t)
        assert sheet.hot_key() == (VK_F9, HOTKEYF_CONTROL | HOTKEYF_SHIFT)
        sheet.set_hot_key(0, 0)
        sheet.close(IDOK)
        time.sleep(1)
        assert t.probe.find(MESSAGE_CAPTION, visible=True) is None, "clearing the hot-key said something"
        assert not held_by_program(t, VK_F9, MOD_CONTROL | MOD_SHIFT)
        sheet = Sheet.open(t)
        assert sheet.hot_key() == (0, 0)

        # A second Tessaly takes Ctrl+Shift+F9 while this one's sheet is open.
        other = Tessaly(s)
        other.start(settings.encode(hotKeyCode=VK_F9, hotKeyModifiers=MOD_CONTROL | MOD_SHIFT), wait_frame=False)
        wait_for(lambda: held_by_program(t, VK_F9, MOD_CONTROL | MOD_SHIFT), 20, "the second program has no hot-key")
        sheet.set_hot_key(VK_F9, HOTKEYF_CONTROL | HOTKEYF_SHIFT)
        sheet.close(IDOK)
        assert_information(t, HOTKEY_TAKEN)
        other.process.kill()
        other.process.wait(timeout=20)
        t.exit()
        stored = settings.decode(t.settings_path.read_bytes())
        assert (stored["hotKeyCode"], stored["hotKeyModifiers"]) == (0, 0), stored
