#!/usr/bin/python3
"""The real Pelluna.scr /C under code page 932: placement, shading and Japanese glyphs, the music choice,
saving as exact bytes, leaving without saving, the file chooser, and the saved settings driving the saver.
Usage: dialog_e2e.py BUILD_DIR CHECK"""
import os
import shutil
import subprocess

from pelluna_e2e import (check_registry, cursor_image, ended_within, run_check, screenshot_pixels, stop, streams_of,
                         wait_until, windows_path, write_ini)
from saver_e2e import test_audio

DIALOG_TITLE = "Pellunaの設定"
CHOOSER_TITLE = "ﾌｧｲﾙを開く"
JAPANESE = "ja_JP.UTF-8"
CHECKS, check = check_registry()


# Places in the client area at 96 dots per inch: the layout's twips divided by 15.
def on_music_panel(x, y):
    return 16 + x, 20 + y


def on_ripple_panel(x, y):
    return 16 + x, 176 + y


CMD_SET = (372 + 42, 176 + 12)
CMD_CAN = (372 + 42, 208 + 12)
CMD_BGM = on_music_panel(36 + 14, 96 + 12)
LBL_BGM_CD = on_music_panel(36 + 12, 40 + 6)
LBL_BGM_FILE = on_music_panel(36 + 12, 80 + 6)
BGM_REPEAT = on_music_panel(92, 36) + (41, 21)  # x, y, width, height
LBL_FNAME = on_music_panel(68, 96) + (357, 29)
HS_NUM_LEFT_ARROW = on_ripple_panel(188 + 5, 12 + 8)
HS_SIZE_LEFT_ARROW = on_ripple_panel(188 + 5, 68 + 8)


def ini_bytes(values):
    """The settings file as Wine writes it in code page 932: no blank before the numbers."""
    lines = ["[Section]"] + [f"{key}={value}" for key, value in values]
    return ("\r\n".join(lines) + "\r\n").encode("cp932")


class Dialog:
    """One run of Pelluna.scr /C from its own folder, with the settings given."""

    def __init__(self, desktop, name, settings=None, args=("/C",), drawn_at_96_dpi=True, locale=JAPANESE,
                 title=DIALOG_TITLE, **extra):
        self.desktop = desktop
        self.extra = extra
        self.locale, self.title = locale, title
        self.folder = desktop.install(name)
        self.ini = os.path.join(self.folder, "Pelluna.ini")
        if settings:
            write_ini(self.folder, settings, locale)
        self.process = desktop.start(os.path.join(self.folder, "Pelluna.scr"), *args, locale=locale, **extra)
        assert wait_until(lambda: desktop.windows_titled(title), 20), "no settings dialog"
        self.window, self.client = self.rectangles()
        # The window shows a moment before all of it is drawn: wait for the shading and the track list.
        assert not drawn_at_96_dpi or wait_until(self.drawn, 5), "the dialog was never drawn whole"

    def drawn(self):
        # The window may be found before the load step has placed it: read its place again each time.
        self.window, self.client = self.rectangles()
        pixel = self.pixels("drawn")
        return (near(pixel(5, 157), (250, 250, 250)) and near(pixel(*on_music_panel(3, 72)), (220, 220, 250))
                and field_pixels(pixel, (0, 0, 0)) < 50)

    def rectangles(self):
        """The outer window (left, top, right, bottom) and the client area (x, y, width, height) on screen."""
        report = self.helper("pelluna_client_rect", self.title)
        values = {line.split()[0]: tuple(int(n) for n in line.split()[1:]) for line in report.stdout.splitlines()}
        assert "client" in values, "the helper found no dialog: " + report.stdout
        return values["window"], values["client"]

    def helper(self, name, *args):
        return subprocess.run(["wine", self.desktop.helper(name), *args], capture_output=True, text=True, timeout=60,
                              env=self.desktop.environment(self.locale, **self.extra))

    def click(self, point, repeat=1):
        x, y = self.client[0] + point[0], self.client[1] + point[1]
        self.desktop.xdotool("mousemove", str(x), str(y))
        self.desktop.xdotool("click", "--repeat", str(repeat), "--delay", "30", "1")

    def key(self, *names):
        assert wait_until(lambda: self.desktop.foreground_title() == self.title, 10), "the dialog never became active"
        self.desktop.xdotool("key", *names)

    def pixels(self, name):
        """The client area as a function (x, y) -> (r, g, b)."""
        width, _, raw = screenshot_pixels(self.desktop, os.path.join(self.folder, name + ".png"))

        def pixel(x, y):
            at = ((self.client[1] + y) * width + self.client[0] + x) * 3
            return tuple(raw[at:at + 3])

        return pixel

    def ended(self, seconds=10):
        return ended_within(self.process, seconds) and not self.desktop.windows_titled(self.title)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        stop(self.process)


def dark_pixels(pixel, box, limit=90):
    x0, y0, width, height = box
    return sum(1 for x in range(x0, x0 + width) for y in range(y0, y0 + height) if max(pixel(x, y)) < limit)


def field_pixels(pixel, colour):
    """How many pixels of the track list's field and button have exactly this colour."""
    x0, y0, width, height = BGM_REPEAT
    return sum(1 for x in range(x0, x0 + width) for y in range(y0, y0 + height) if pixel(x, y) == colour)


def near(colour, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def focus_chooser(desktop, title=CHOOSER_TITLE):
    """Waits until the file chooser is the active window, which gets the keys typed. Without a window manager
    the X focus may stay on the dialog that opened it: Wine still hands the keys to its active window."""
    assert wait_until(lambda: desktop.windows_titled(title), 20), "no file chooser"
    assert wait_until(lambda: desktop.foreground_title() == title, 10), "the file chooser never became active"


@check
def opens_in_place_with_shading_and_japanese_glyphs(desktop):
    with Dialog(desktop, "dialog_look") as dialog:
        left, top, right, bottom = dialog.window
        assert dialog.client[2:] == (476, 315), dialog.client
        assert left == (1920 - (right - left)) // 2, dialog.window
        assert abs(top - (1080 - (bottom - top)) / 3) <= 1, dialog.window
        pixel = dialog.pixels("look")
        # The grey shading: 30 at the top and bottom rows, 250 in the middle, clear of every control.
        for y, level in ((0, 30), (157, 250), (314, 32)):
            assert near(pixel(5, y), (level,) * 3), (y, pixel(5, y))
        # The blue panels: navy at their edges, pale blue in their middle.
        assert near(pixel(*on_music_panel(3, 0)), (0, 0, 30)), pixel(*on_music_panel(3, 0))
        assert near(pixel(*on_music_panel(3, 72)), (220, 220, 250)), pixel(*on_music_panel(3, 72))
        assert near(pixel(*on_ripple_panel(3, 52)), (220, 220, 250)), pixel(*on_ripple_panel(3, 52))
        # Drawn glyphs: the first characters of "少ない" and "多い" stand on the same shading rows; empty
        # boxes would look alike, real glyphs differ.
        few = on_ripple_panel(140, 16) + (12, 13)
        many = on_ripple_panel(280, 16) + (12, 13)
        assert dark_pixels(pixel, few) >= 10 and dark_pixels(pixel, many) >= 10, "no text drawn"
        differing = sum(1 for dx in range(12) for dy in range(13)
                        if (max(pixel(few[0] + dx, few[1] + dy)) < 90) != (max(pixel(many[0] + dx, many[1] + dy)) < 90))
        assert differing >= 10, f"the two characters look alike ({differing} pixels differ)"


@check
def music_cd_enables_the_track_list_and_set_writes_exact_bytes(desktop):
    with Dialog(desktop, "dialog_save") as dialog:
        # A disabled track list has a grey field; an enabled one is white.
        assert field_pixels(dialog.pixels("disabled"), (255, 255, 255)) < 250, "the track list starts enabled"
        dialog.click(LBL_BGM_CD)
        assert wait_until(lambda: field_pixels(dialog.pixels("enabled"), (255, 255, 255)) > 350, 5), \
            "the track list did not turn enabled"
        dialog.click((BGM_REPEAT[0] + 10, BGM_REPEAT[1] + 10))
        dialog.key("7")
        dialog.click(CMD_SET)
        assert dialog.ended(), "the dialog did not close after saving"
        with open(dialog.ini, "rb") as ini:
            written = ini.read()
    expected = ini_bytes([("DropsCount", "25"), ("RippleSpeed", "100"), ("RippleSize", "100"), ("BGM区分", "1"),
                          ("BGMﾘﾋﾟｰﾄ", "7"), ("BGMﾌｧｲﾙ", "")])
    assert written == expected, written


def leaves_the_file_unchanged(desktop, name, leave):
    settings = {"DropsCount": " 30", "RippleSpeed": "120", "BGM区分": "0", "BGMﾘﾋﾟｰﾄ": ""}
    with Dialog(desktop, name, settings) as dialog:
        with open(dialog.ini, "rb") as ini:
            before = ini.read()
        dialog.click(LBL_BGM_CD)
        dialog.click(HS_NUM_LEFT_ARROW, repeat=3)
        leave(dialog)
        assert dialog.ended(), "the dialog did not close"
        with open(dialog.ini, "rb") as ini:
            assert ini.read() == before, "the settings file changed"


@check
def cancel_leaves_the_file_unchanged(desktop):
    leaves_the_file_unchanged(desktop, "dialog_cancel", lambda dialog: dialog.click(CMD_CAN))


@check
def escape_leaves_the_file_unchanged(desktop):
    leaves_the_file_unchanged(desktop, "dialog_escape", lambda dialog: dialog.key("Escape"))


@check
def the_close_box_leaves_the_file_unchanged(desktop):
    def close_box(dialog):
        right, top = dialog.window[2], dialog.window[1]
        caption = dialog.client[1] - top
        desktop.xdotool("mousemove", str(right - caption // 2), str(top + caption // 2))
        desktop.xdotool("click", "1")

    leaves_the_file_unchanged(desktop, "dialog_close_box", close_box)


@check
def a_second_start_while_the_dialog_is_open_ends_at_once(desktop):
    with Dialog(desktop, "dialog_guard") as dialog:
        other = desktop.install("dialog_guard_second")
        for args in (("/C",), ("/S",), ()):
            second = desktop.start(os.path.join(other, "Pelluna.scr"), *args, locale=JAPANESE)
            assert ended_within(second, 10), f"{args} did not end beside the open dialog"
            assert len(desktop.windows_titled(DIALOG_TITLE)) == 1, f"{args} opened a second dialog"
            assert not desktop.windows_titled("Pelluna_Main"), f"{args} opened a saver"
        dialog.key("Escape")
        assert dialog.ended(), "the dialog did not close"


@check
def a_file_typed_in_the_chooser_is_shown_and_saved(desktop):
    # The chooser opens in the folder of the music chosen now: a name typed alone is found there.
    folder = os.path.join(desktop.build_dir, "e2e", "dialog_file_music")
    os.makedirs(folder, exist_ok=True)
    song = os.path.join(folder, "song.mp3")
    with open(song, "wb") as data:
        data.write(b"\0" * 64)
    earlier = {"DropsCount": "25", "RippleSpeed": "100", "RippleSize": "100", "BGM区分": "0", "BGMﾘﾋﾟｰﾄ": "0",
               "BGMﾌｧｲﾙ": windows_path(os.path.join(folder, "earlier.mp3"))}
    with Dialog(desktop, "dialog_file", earlier) as dialog:
        dialog.click(LBL_BGM_FILE)
        before = dark_pixels(dialog.pixels("earlier_file"), LBL_FNAME)
        dialog.click(CMD_BGM)
        focus_chooser(desktop)
        desktop.xdotool("type", "--delay", "5", "song.mp3")
        desktop.xdotool("key", "Return")
        if not wait_until(lambda: not desktop.windows_titled(CHOOSER_TITLE), 10):
            screenshot_pixels(desktop, os.path.join(dialog.folder, "chooser.png"))
            raise AssertionError("the chooser stayed open")
        assert wait_until(lambda: dark_pixels(dialog.pixels("file"), LBL_FNAME) != before, 5), \
            "the chosen path is not shown"
        dialog.click(CMD_SET)
        assert dialog.ended(), "the dialog did not close after saving"
        with open(dialog.ini, "rb") as ini:
            written = ini.read()
    expected = ini_bytes([("DropsCount", "25"), ("RippleSpeed", "100"), ("RippleSize", "100"), ("BGM区分", "2"),
                          ("BGMﾘﾋﾟｰﾄ", "0"), ("BGMﾌｧｲﾙ", windows_path(song))])
    assert written == expected, written


@check
def scales_with_the_dots_per_inch(desktop):
    """At 144 dots per inch, set in a copy of the test prefix, every figure is 1.5 times as large."""
    prefix = os.path.join(desktop.build_dir, "e2e", "prefix144")
    subprocess.run(["rm", "-rf", prefix], check=True)
    # Hard links make the copy at once. Wine writes its registry files in place, so those files at the
    # prefix's top are copied for real: the shared prefix must keep its own resolution.
    shared = desktop.env["WINEPREFIX"]
    subprocess.run(["cp", "-al", shared, prefix], check=True)
    for name in os.listdir(prefix):
        path = os.path.join(prefix, name)
        if os.path.isfile(path) and not os.path.islink(path):
            os.remove(path)
            shutil.copy2(os.path.join(shared, name), path)
            assert os.stat(os.path.join(shared, name)).st_nlink == 1, name
    env = dict(desktop.env, WINEPREFIX=prefix)
    subprocess.run(["wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                    "/d", "144", "/f"], env=env, stdin=subprocess.DEVNULL, capture_output=True, check=True)
    try:
        with Dialog(desktop, "dialog_144", drawn_at_96_dpi=False, WINEPREFIX=prefix) as dialog:
            def shaded():
                # The window exists at its first place before the load step moves it: read it again each time.
                dialog.window, dialog.client = dialog.rectangles()
                pixel = dialog.pixels("look144")
                height = dialog.client[3]
                # The music panel starts at 24, 30 and is 662 x 218 pixels: pale blue in its middle.
                return (near(pixel(5, 0), (30, 30, 30)) and near(pixel(5, height // 2), (250, 250, 250))
                        and near(pixel(24 + 4, 30 + 109), (220, 220, 250)) and near(pixel(24 + 4, 30), (0, 0, 30)))

            assert wait_until(shaded, 10), "the shading does not fit the larger window"
            left, top, right, bottom = dialog.window
            width, height = dialog.client[2:]
            assert width == 714 and abs(height - 472.5) <= 1, dialog.client
            assert left == (1920 - (right - left)) // 2, dialog.window
            assert abs(top - (1080 - (bottom - top)) / 3) <= 1, dialog.window
    finally:
        subprocess.run(["wineserver", "-k"], env=env, capture_output=True)
        subprocess.run(["rm", "-rf", prefix])


@check
def the_address_shows_the_pointing_hand(desktop):
    with Dialog(desktop, "dialog_cursor") as dialog:
        def hot_spot_at(point, wanted):
            """Moves the pointer and waits until the cursor shown there has the hot spot wanted; the last seen."""
            desktop.xdotool("mousemove", str(dialog.client[0] + point[0]), str(dialog.client[1] + point[1]))
            seen = []

            def shown():
                image = cursor_image(desktop)
                seen[:] = [image[2:4]] if image[4] else []
                return bool(seen) and wanted(seen[0])

            wait_until(shown, 5)
            return seen[0] if seen else None

        fingertip = (12, 1)
        arrow = hot_spot_at((5, 157), lambda spot: spot != fingertip)
        assert arrow not in (None, fingertip), arrow
        hand = hot_spot_at((192 + 20, 288 + 6), lambda spot: spot == fingertip)
        assert hand == fingertip, f"over the address the hot spot is {hand}, not the fingertip"
        assert hot_spot_at((5, 157), lambda spot: spot == arrow) == arrow, "the arrow did not come back"


MESSAGE_TITLE = "Pelluna"


def dismiss_message(desktop, dialog):
    """Waits for the program's message box, owned by the open dialog, and presses its OK button with Enter."""
    assert wait_until(lambda: desktop.windows_titled(MESSAGE_TITLE), 20), "no message box"
    assert desktop.windows_titled(dialog.title), "the dialog closed"
    assert wait_until(lambda: desktop.foreground_title() == MESSAGE_TITLE, 10), "the message box never became active"
    desktop.xdotool("key", "Return")
    assert wait_until(lambda: not desktop.windows_titled(MESSAGE_TITLE), 10), "the message box stayed open"


@check
def a_save_that_fails_is_told_and_the_dialog_stays_open(desktop):
    with Dialog(desktop, "dialog_save_fails") as dialog:
        # A folder where the settings file should be: no write can succeed, not even for root.
        os.makedirs(dialog.ini)
        dialog.click(CMD_SET)
        dismiss_message(desktop, dialog)
        dialog.key("Escape")
        assert dialog.ended(), "the dialog did not close"


@check
def stored_values_the_dialog_cannot_show_are_saved_back(desktop):
    missing = "D:\\外した\\雨.mp3"  # a disk that is not there today
    settings = {"DropsCount": "100", "RippleSpeed": "200", "RippleSize": "5", "BGM区分": "2", "BGMﾘﾋﾟｰﾄ": "",
                "BGMﾌｧｲﾙ": missing}
    with Dialog(desktop, "dialog_stored", settings) as dialog:
        assert dark_pixels(dialog.pixels("stored"), LBL_FNAME) > 100, "the stored path is not shown"
        dialog.click(CMD_SET)
        assert dialog.ended(), "the dialog did not close after saving"
        with open(dialog.ini, "rb") as ini:
            written = ini.read()
    expected = ini_bytes([("DropsCount", "100"), ("RippleSpeed", "200"), ("RippleSize", "5"), ("BGM区分", "2"),
                          ("BGMﾘﾋﾟｰﾄ", "0"), ("BGMﾌｧｲﾙ", missing)])
    assert written == expected, written


@check
def a_path_longer_than_the_settings_file_keeps_is_refused(desktop):
    settings = {"BGM区分": "2", "BGMﾌｧｲﾙ": "C:\\a.mp3"}
    with Dialog(desktop, "dialog_long_path", settings) as dialog:
        # 260 bytes in all; Wine's own chooser cannot hand back much longer paths.
        prefix = windows_path(dialog.folder) + "\\"
        name = "x" * (260 - len(prefix.encode("cp932")) - 4) + ".mp3"
        with open(os.path.join(dialog.folder, name), "wb") as data:
            data.write(b"\0" * 64)
        before = dark_pixels(dialog.pixels("short"), LBL_FNAME)
        dialog.click(CMD_BGM)
        focus_chooser(desktop)
        desktop.xdotool("type", "--delay", "5", prefix + name)
        desktop.xdotool("key", "Return")
        dismiss_message(desktop, dialog)
        assert not desktop.windows_titled(CHOOSER_TITLE), "the chooser stayed open"
        assert dark_pixels(dialog.pixels("refused"), LBL_FNAME) == before, "the shown path changed"
        dialog.key("Tab", "Return")  # from "..." on to "設定"
        assert dialog.ended(), "the dialog did not close after saving"
        with open(dialog.ini, "rb") as ini:
            assert "BGMﾌｧｲﾙ=C:\\a.mp3\r\n".encode("cp932") in ini.read(), "the stored path changed"


@check
def the_keyboard_alone_changes_and_saves_the_settings(desktop):
    # Space presses the focused button, as Enter does: Shift+Tab from the drops bar goes round to "ｷｬﾝｾﾙ".
    with Dialog(desktop, "dialog_keyboard_cancel") as dialog:
        dialog.key("shift+Tab", "space")
        assert dialog.ended(), "Space on ｷｬﾝｾﾙ did not close the dialog"
        assert not os.path.exists(dialog.ini), "Space on ｷｬﾝｾﾙ saved the settings"
    with Dialog(desktop, "dialog_keyboard") as dialog:
        # The drops bar has the focus; after the three bars the music kind, where Up chooses "音楽CD" above
        # "無し"; Tab then passes the track list it enabled and the disabled "..." on its way to "ｷｬﾝｾﾙ".
        dialog.key("Right", "Right", "Next", "Tab", "End", "Tab", "Prior", "Left", "Tab", "Up")
        # The focus rectangle's dots on the line above "音楽CD", where the shading alone has no dark pixel.
        focus_line = on_music_panel(36, 39) + (40, 1)
        assert wait_until(lambda: dark_pixels(dialog.pixels("focus"), focus_line, 120) >= 8, 5), "no focus rectangle"
        dialog.key("Tab", "Tab", "Tab", "shift+Tab")
        dialog.key("space")  # on "設定"
        assert dialog.ended(), "the dialog did not close after saving"
        with open(dialog.ini, "rb") as ini:
            written = ini.read()
    expected = ini_bytes([("DropsCount", "28"), ("RippleSpeed", "150"), ("RippleSize", "89"), ("BGM区分", "1"),
                          ("BGMﾘﾋﾟｰﾄ", "0"), ("BGMﾌｧｲﾙ", "")])
    assert written == expected, written


ENGLISH = "en_US.UTF-8"
ENGLISH_TITLE = "Pelluna Settings"


@check
def in_english_the_dialog_chooser_and_messages_read_in_english_and_saving_writes_the_same_keys(desktop):
    with Dialog(desktop, "dialog_english", locale=ENGLISH, title=ENGLISH_TITLE) as dialog:
        # The title and the buttons' names as a screen reader finds them: no Japanese, no "?" of a lost conversion.
        texts = dialog.helper("pelluna_window_texts", ENGLISH_TITLE).stdout.splitlines()
        assert texts[0] == ENGLISH_TITLE and {"OK", "Cancel", "..."} <= set(texts), texts
        assert all(text.isascii() and "?" not in text for text in texts), texts
        second = desktop.start(os.path.join(dialog.folder, "Pelluna.scr"), "/C", locale=ENGLISH)
        assert ended_within(second, 10) and len(desktop.windows_titled(ENGLISH_TITLE)) == 1, "a second dialog"
        dialog.click(LBL_BGM_FILE)
        dialog.click(CMD_BGM)
        focus_chooser(desktop, "Choose Music")
        desktop.xdotool("key", "Escape")
        assert wait_until(lambda: not desktop.windows_titled("Choose Music"), 10), "the chooser stayed open"
        os.makedirs(dialog.ini)  # the save fails and is told
        dialog.click(CMD_SET)
        assert wait_until(lambda: desktop.windows_titled(MESSAGE_TITLE), 20), "no message box"
        message = dialog.helper("pelluna_window_texts", MESSAGE_TITLE).stdout
        assert "The settings could not be saved." in message and message.isascii(), message
        dismiss_message(desktop, dialog)
        os.rmdir(dialog.ini)
        dialog.key("Escape")
        assert dialog.ended(), "the dialog did not close"
        assert not os.path.exists(dialog.ini), "Escape wrote the settings file"
    # Code page 1252 has no form for the folder's name: the program reaches it through its short form, and
    # the keys pass through the code page as they always have, the Japanese in them as "?".
    music = windows_path(os.path.join(test_audio(desktop), "tone.mp3"))
    with Dialog(desktop, "雨 スクリーン", {"BGM区分": "2", "BGMﾌｧｲﾙ": music}, locale=ENGLISH,
                title=ENGLISH_TITLE) as dialog:
        dialog.key("Return")
        assert dialog.ended(), "the dialog did not close after saving"
        with open(dialog.ini, "rb") as ini:
            written = set(ini.read().decode("cp1252").split("\r\n"))
        assert written == {"[Section]", "BGM??=2", "BGM????=" + music, "DropsCount=25", "RippleSpeed=100",
                           "RippleSize=100", "BGM?????=0", ""}, written
        saver = desktop.start(os.path.join(dialog.folder, "Pelluna.scr"), "/S", locale=ENGLISH)
        try:
            assert wait_until(lambda: streams_of(desktop, saver), 20), "the saver did not play the saved music"
        finally:
            stop(saver)


def lit_pixels(desktop, folder, shots=5):
    """Non-black pixels summed over a few screenshots of the saver run from folder, once rings show."""
    process = desktop.start(os.path.join(folder, "Pelluna.scr"), "/S", locale=JAPANESE)
    try:
        shot = os.path.join(folder, "saver.png")

        def lit():
            _, _, raw = screenshot_pixels(desktop, shot)
            return sum(1 for i in range(0, len(raw), 3) if raw[i] or raw[i + 1] or raw[i + 2])

        assert wait_until(lambda: desktop.windows_titled("Pelluna_Main"), 20), "no saver window"
        assert wait_until(lambda: lit() > 0, 10), "no ripples"
        return sum(lit() for _ in range(shots))
    finally:
        stop(process)


@check
def saved_settings_drive_the_saver(desktop):
    with Dialog(desktop, "dialog_saver_small") as dialog:
        dialog.click(HS_NUM_LEFT_ARROW, repeat=20)
        dialog.click(HS_SIZE_LEFT_ARROW, repeat=60)
        dialog.click(CMD_SET)
        assert dialog.ended(), "the dialog did not close after saving"
        with open(dialog.ini, "rb") as ini:
            written = ini.read()
        assert b"DropsCount=10\r\n" in written and b"RippleSize=50\r\n" in written, written
        small = lit_pixels(desktop, dialog.folder)
    default = lit_pixels(desktop, desktop.install("dialog_saver_default"))
    assert small * 2 < default, f"lit pixels: {small} after saving 10 small drops, {default} by default"


if __name__ == "__main__":
    run_check(CHECKS)
