#!/usr/bin/python3
"""The setup program under Wine, in a fresh prefix per check: a silent install, the installed saver and its
dialog, an install over it, silent uninstalls and the screen saver they put back.
Usage: installer_e2e.py BUILD_DIR CHECK"""
import os
import re
import shutil
import struct
import subprocess

from dialog_e2e import CMD_SET, Dialog, ini_bytes
from pelluna_e2e import Desktop, check_registry, ended_within, run_check, stop, wait_until

CHECKS, check = check_registry()
DESKTOP_KEY = "HKCU\\Control Panel\\Desktop"
UNINSTALL_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelluna"
PREVIOUS, OTHER = "C:\\windows\\system32\\previous.scr", "C:\\other.scr"
SOURCE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


class FreshPrefix(Desktop):
    """The test display with a new Wine prefix; install() names the folder that the setup fills."""

    def __init__(self, build_dir, name):
        super().__init__(build_dir)
        self.root = os.path.join(self.build_dir, "e2e", name)
        shutil.rmtree(self.root, ignore_errors=True)
        self.env["WINEPREFIX"] = prefix = os.path.join(self.root, "prefix")
        subprocess.run([f"{SOURCE_DIR}/tools/testenv", "prefix", f"{self.build_dir}/testenv", prefix], check=True,
                       stdout=subprocess.DEVNULL)
        user = next(name for name in os.listdir(f"{prefix}/drive_c/users") if name != "Public")
        self.folder = f"{prefix}/drive_c/users/{user}/AppData/Local/Programs/Pelluna"
        self.windows_folder = f"C:\\users\\{user}\\AppData\\Local\\Programs\\Pelluna"

    def install(self, name=None):
        return self.folder

    def run(self, *args, locale=None):
        """Runs a Wine program to its end, its output through a file: Wine's helpers may hold a pipe open."""
        env = self.environment(locale) if locale else self.env
        with open(f"{self.root}/output.txt", "w+", errors="replace") as output:
            done = subprocess.run(["wine", *args], env=env, stdin=subprocess.DEVNULL, stdout=output,
                                  stderr=subprocess.DEVNULL, timeout=60)
            output.seek(0)
            return done.returncode, output.read()

    def values(self, key):
        """A registry key's values as {name: (type, data)}; None when there is no such key."""
        code, text = self.run("reg", "query", key)
        found = re.findall(r"^    (\S+)    (REG_\w+)    (.*?)\r?$", text, re.MULTILINE)
        return None if code else {name: (kind, data) for name, kind, data in found}

    def set_screen_saver(self, path):
        self.run("reg", *(("add", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/d", path, "/f") if path else
                          ("delete", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/f")))

    def screen_saver(self):
        return self.values(DESKTOP_KEY).get("SCRNSAVE.EXE", (None, None))[1]

    def setup(self, locale=None, code=0):
        assert self.run(f"{self.build_dir}/Pelluna-1.0.0-setup.exe", "/S", locale=locale)[0] == code, \
            f"the silent install did not exit {code}"

    def uninstall(self):
        """Runs the entry's quiet command. The uninstaller hands over to a copy of itself and ends at once;
        the copy is done when the entry, the last thing it removes, is gone."""
        self.run(*re.fullmatch(r'"(.+)" (/S)', self.values(UNINSTALL_KEY)["QuietUninstallString"][1]).groups())
        assert wait_until(lambda: self.values(UNINSTALL_KEY) is None, 30), "the uninstall entry stayed"

    def __enter__(self):
        return self

    def __exit__(self, kind, *rest):
        for switch in ("-k", "-w"):
            subprocess.run(["wineserver", switch], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if kind is None:  # a prefix takes some 700 MB; a failed check's stays to be looked at
            shutil.rmtree(self.root)


def read(path):
    with open(path, "rb") as data:
        return data.read()


@check
def a_silent_install_makes_pelluna_the_screen_saver_and_it_runs(desktop):
    with FreshPrefix(desktop.build_dir, "installer_install") as prefix:
        prefix.set_screen_saver(PREVIOUS)
        prefix.setup()
        assert sorted(os.listdir(prefix.folder)) == ["INSTALL.txt", "Pelluna.scr", "Uninstall.exe"]
        assert read(f"{prefix.folder}/Pelluna.scr") == read(prefix.scr)
        assert read(f"{prefix.folder}/INSTALL.txt") == read(f"{SOURCE_DIR}/docs/INSTALL.txt").replace(b"\n", b"\r\n")
        folder = prefix.windows_folder
        desktop_values = prefix.values(DESKTOP_KEY)
        assert (desktop_values["SCRNSAVE.EXE"], desktop_values["ScreenSaveActive"]) == (
            ("REG_SZ", f"{folder}\\Pelluna.scr"), ("REG_SZ", "1")), desktop_values
        kib = sum(os.path.getsize(f"{prefix.folder}/{name}") for name in os.listdir(prefix.folder)) // 1024
        assert prefix.values(UNINSTALL_KEY) == {
            "DisplayName": ("REG_SZ", "Pelluna"), "DisplayVersion": ("REG_SZ", "1.0.0"),
            "DisplayIcon": ("REG_SZ", f"{folder}\\Pelluna.scr,0"), "InstallLocation": ("REG_SZ", folder),
            "UninstallString": ("REG_SZ", f'"{folder}\\Uninstall.exe"'),
            "QuietUninstallString": ("REG_SZ", f'"{folder}\\Uninstall.exe" /S'),
            "EstimatedSize": ("REG_DWORD", hex(kib)), "NoModify": ("REG_DWORD", "0x1"),
            "NoRepair": ("REG_DWORD", "0x1"), "PreviousScreenSaver": ("REG_SZ", PREVIOUS),
            "NoPreviousScreenSaveActive": ("REG_DWORD", "0x1")}
        saver = prefix.start(f"{prefix.folder}/Pelluna.scr", "/S")
        prefix.key_to("Pelluna_Main", "space")
        assert ended_within(saver, 10), "a key did not end the installed saver"
        with Dialog(prefix, "installed") as dialog:
            dialog.click(CMD_SET)
            assert dialog.ended(), "the dialog did not close after saving"
        assert read(f"{prefix.folder}/Pelluna.ini") == ini_bytes([("DropsCount", "25"), ("RippleSpeed", "100"),
            ("RippleSize", "100"), ("BGM区分", "0"), ("BGMﾘﾋﾟｰﾄ", "0"), ("BGMﾌｧｲﾙ", "")])


@check
def an_install_over_it_keeps_the_settings_and_a_silent_uninstall_removes_it(desktop):
    with FreshPrefix(desktop.build_dir, "installer_again") as prefix:
        prefix.set_screen_saver(PREVIOUS)
        prefix.setup()
        settings = b"[Section]\r\nDropsCount=33\r\n"
        for name, content in (("Pelluna.scr", b"older"), ("Pelluna.ini", settings), ("mine.txt", b"")):
            with open(f"{prefix.folder}/{name}", "wb") as data:
                data.write(content)
        prefix.setup()
        assert read(f"{prefix.folder}/Pelluna.scr") == read(prefix.scr), "the program was not replaced"
        assert read(f"{prefix.folder}/Pelluna.ini") == settings, "the settings changed"
        assert prefix.values(UNINSTALL_KEY)["PreviousScreenSaver"] == ("REG_SZ", PREVIOUS)
        prefix.uninstall()
        assert (os.listdir(prefix.folder), prefix.screen_saver()) == (["mine.txt"], PREVIOUS)
        os.remove(f"{prefix.folder}/mine.txt")
        # With none before, none comes back; a screen saver chosen since Pelluna stays.
        for before, chosen_since, after in ((None, None, None), (PREVIOUS, OTHER, OTHER)):
            prefix.set_screen_saver(before)
            prefix.setup()
            if chosen_since:
                prefix.set_screen_saver(chosen_since)
            prefix.uninstall()
            assert (os.path.exists(prefix.folder), prefix.screen_saver()) == (False, after), (before, chosen_since)


def shortcut(path):
    """A shell link's target and arguments: the target from its link information, the arguments from its
    strings (Wine counts their ending nul)."""
    data = read(path)
    flags, at = struct.unpack_from("<I", data, 0x14)[0], 0x4C
    at += 2 + struct.unpack_from("<H", data, at)[0] if flags & 1 else 0
    base = at + struct.unpack_from("<I", data, at + 16)[0]
    target, at = data[base:data.index(b"\0", base)].decode("cp1252"), at + struct.unpack_from("<I", data, at)[0]
    for bit in (4, 8, 0x10, 0x20):
        if flags & bit:
            count = struct.unpack_from("<H", data, at)[0]
            text, at = data[at + 2:at + 2 + 2 * count].decode("utf-16-le").rstrip("\0"), at + 2 + 2 * count
    return target, text if flags & 0x20 else ""


@check
def an_update_ends_a_running_saver_but_not_an_open_dialog_and_install_and_uninstall_leave_the_desktop_as_before(
        desktop):
    with FreshPrefix(desktop.build_dir, "installer_update") as prefix:
        menu = prefix.folder.replace("Local/Programs/Pelluna", "Roaming/Microsoft/Windows/Start Menu/Programs/Pelluna")
        scr = f"{prefix.windows_folder}\\Pelluna.scr"
        # The profile before; what runs from the install folder during the update, the window it shows and
        # the update's exit code; the Start-menu entries in the setup's language. ScreenSaveActive "0" is
        # a value the install changes, so that putting it back shows.
        for locale, before, running, title, code, entries in (
                ("C.UTF-8", {}, "/S", "Pelluna_Main", 0, ("Pelluna Settings", "Make Pelluna the Screen Saver")),
                ("ja_JP.UTF-8", {"SCRNSAVE.EXE": OTHER, "ScreenSaveActive": "0"}, "/C", "Pellunaの設定", 2,
                 ("Pellunaの設定", "Pelluna をスクリーン セーバーにする"))):
            for name, data in before.items():
                prefix.run("reg", "add", DESKTOP_KEY, "/v", name, "/d", data, "/f")
            desktop_before = prefix.values(DESKTOP_KEY)
            prefix.setup(locale)
            with open(f"{prefix.folder}/Pelluna.scr", "ab") as program:
                program.write(b"altered")  # still a program that runs
            altered = read(f"{prefix.folder}/Pelluna.scr")
            process = prefix.start(f"{prefix.folder}/Pelluna.scr", running, locale=locale)
            assert wait_until(lambda: prefix.windows_titled(title), 20), f"no {title} window"
            prefix.setup(locale, code)
            assert read(f"{prefix.folder}/Pelluna.scr") == (altered if code else read(prefix.scr)), locale
            # The saver was ended before its file was replaced; the dialog is left for the user to close.
            assert ended_within(process, 5) if code == 0 else process.poll() is None, locale
            stop(process)
            if code:
                prefix.setup(locale)
            assert {name: shortcut(f"{menu}/{name}") for name in os.listdir(menu)} == {
                f"{entries[0]}.lnk": (scr, "/C"),
                f"{entries[1]}.lnk": ("C:\\windows\\system32\\rundll32.exe", f'desk.cpl,InstallScreenSaver "{scr}"')}
            prefix.uninstall()
            assert (prefix.values(DESKTOP_KEY), os.path.exists(menu)) == (desktop_before, False), locale


if __name__ == "__main__":
    run_check(CHECKS)
