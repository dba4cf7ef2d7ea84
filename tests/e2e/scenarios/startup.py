"""Start-up and exit: the settings file, the autostart value, the hidden frame, the hot-key."""
import winenv
from lib import settings
from lib.probe import wait_for
from lib.tessaly import (FIRST_RUN_CAPTION, FIRST_RUN_TEXT, FRAME, MESSAGE_CAPTION, VK_F11,
                         Tessaly)


def session(name):
    return winenv.WineSession("e2e.startup." + name)


def scenario_first_start_without_settings():
    """No configure.dat: the first-run message, then nothing visible; the frame is hidden with
    its title and status bar; exit writes a 557-byte file with the defaults and no Run value."""
    with session("first_start_without_settings") as s:
        t = Tessaly(s).start()
        box = t.message(FIRST_RUN_CAPTION)
        assert box["text"] == FIRST_RUN_TEXT, box["text"]
        assert box["icon"] and box["icon"]["kind"] == "information", box["icon"]
        t.answer(FIRST_RUN_CAPTION)

        frame = t.wait_frame()
        assert frame["caption"] == FRAME and not frame["visible"], frame
        wait_for(lambda: not t.visible_windows(), 5, "a window of the program is visible")
        status = t.probe.status(FRAME)
        assert len(status["parts"]) == 4, status
        assert status["parts"][0]["text"] == "No Image.", status
        menu = t.probe.menu(FRAME)
        titles = [item["text"] for item in menu["items"]]
        assert titles == ["&File", "&Edit", "&View", "&Setting", "&Capture", "H&istory", "&Help"], titles

        assert not t.settings_path.exists()
        t.exit()
        data = t.settings_path.read_bytes()
        assert data == settings.encode(), settings.decode(data)
        assert t.run_value() is None


def scenario_settings_read_back_unchanged():
    """A file written by one run is read by the next and written back field for field; filler
    after a text's zero byte is not significant."""
    with session("settings_read_back_unchanged") as s:
        changed = dict(hotKeyCode=0x7B, hotKeyModifiers=2, captureMode=4, playSound=0,
                       copyToClipboard=1, saveMode=2, saveDirectory="d:\\" + "x" * 250 + "\\",
                       baseName="Shot-", nextNumber=4711, fileFormat=2, jpegGrayscale=1,
                       jpegQuality=33, backgroundColor=0x00112233)
        t = Tessaly(s).start(settings.encode(filler=b"\xAB", **changed))
        assert t.probe.find(FIRST_RUN_CAPTION, visible=True) is None
        t.exit()
        first = t.settings_path.read_bytes()
        assert settings.decode(first) == dict(settings.DEFAULTS, **changed), settings.decode(first)

        t.start()
        t.wait_frame()
        t.exit()
        assert t.settings_path.read_bytes() == first


def scenario_no_save_on_exit_keeps_file_but_updates_run_value():
    """saveSettingsOnExit 0: the file is left as it was, while the autostart value still follows
    runAtStartup (present whatever its data, rewritten with the program's path in quotes)."""
    with session("no_save_on_exit_keeps_file_but_updates_run_value") as s:
        t = Tessaly(s)
        original = settings.encode(saveSettingsOnExit=0, filler=b"\x55")
        t.set_run_value("whatever it says")
        t.start(original)
        t.exit()
        assert t.settings_path.read_bytes() == original
        value = t.run_value()
        assert value and value.startswith('"') and value.endswith('"'), value
        assert value[1:-1].lower().endswith("\\tessaly.exe") and '"' not in value[1:-1], value

        s.run(["reg", "delete", r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run", "/v",
               "Varnicklet", "/f"], check=True)
        t.start(original)
        t.exit()
        assert t.run_value() is None


def scenario_second_instance_cannot_take_the_hot_key():
    """A second instance reports the hot-key failure and runs on; the first keeps its hot-key."""
    with session("second_instance_cannot_take_the_hot_key") as s:
        first = Tessaly(s).start(settings.encode())
        assert not first.probe.hotkey(VK_F11)["registered"], "the first instance holds no F11"

        second = Tessaly(s)
        second.process = None
        second.start(wait_frame=False)
        box = first.message(MESSAGE_CAPTION)
        assert box["text"] == "Register Hotkey failed! please reset it in the Configure Dialog.", box
        assert box["icon"] and box["icon"]["kind"] == "information", box["icon"]
        first.answer(MESSAGE_CAPTION)
        assert second.process.poll() is None, "the second instance ended"
        assert first.process.poll() is None
        assert not first.probe.hotkey(VK_F11)["registered"], "the first instance lost F11"
        second.process.kill()


def scenario_log_off_keeps_the_settings():
    """Windows ending the session (no WM_CLOSE) still writes configure.dat."""
    with session("log_off_keeps_the_settings") as s:
        t = Tessaly(s).start()
        t.answer(FIRST_RUN_CAPTION)
        t.wait_frame()
        WM_QUERYENDSESSION, WM_ENDSESSION = 0x0011, 0x0016
        assert t.probe.send(FRAME, WM_QUERYENDSESSION) == 1
        t.probe.send(FRAME, WM_ENDSESSION, 1, 0)
        wait_for(lambda: t.settings_path.exists(), 5, "configure.dat was not written")
        assert t.settings_path.read_bytes() == settings.encode()


def scenario_unwritable_files_at_exit_are_reported_and_exit_still_ends():
    """save.dat and configure.dat that cannot be written at exit: each failure names its file and
    the system's reason and offers Retry and Cancel; Retry once the way is clear writes the file,
    Cancel ends the program with the old file untouched."""
    with session("unwritable_files_at_exit_are_reported_and_exit_still_ends") as s:
        t = Tessaly(s)
        original = settings.encode(nextNumber=77)
        t.start(original)
        # Each file is replaced through a temporary beside it: a folder of that name blocks the write.
        blockers = [s.bin / "save.dat.new", s.bin / "configure.dat.new"]
        for blocker in blockers:
            blocker.mkdir()
        t.probe.close(FRAME)
        t.answer("Exit", "OK")

        box = t.message(MESSAGE_CAPTION)
        assert "save.dat" in box["text"] and "Retry" in box["text"], box["text"]
        buttons = sorted(c["text"].replace("&", "") for c in box["controls"] if c["class"] == "Button")
        assert buttons == ["Cancel", "Retry"], box["controls"]
        blockers[0].rmdir()
        retry = [c["id"] for c in box["controls"] if c["text"].replace("&", "") == "Retry"][0]
        t.probe.click(MESSAGE_CAPTION, retry, visible=True)
        wait_for(lambda: (s.bin / "save.dat").exists(), 10, "save.dat was not written on Retry")

        # The next box, of the same caption, is about the settings.
        box = wait_for(lambda: (lambda b: b if b and "configure.dat" in b["text"] else None)(
            t.probe.dialog(MESSAGE_CAPTION, visible=True, timeout=2000)), 10, "no box about configure.dat")
        t.answer(MESSAGE_CAPTION, "Cancel")
        wait_for(lambda: t.process.poll() is not None, 20, "Tessaly did not end after Cancel")
        assert t.settings_path.read_bytes() == original
