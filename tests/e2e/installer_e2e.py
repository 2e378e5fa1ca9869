#!/usr/bin/python3
"""The setup program under Wine, each check in a fresh prefix of its own: the wizard's language, a silent
install, the installed saver and its dialog, an install over it, a silent uninstall and the screen saver it
puts back. Usage: installer_e2e.py BUILD_DIR CHECK"""
import os
import re
import shutil
import subprocess

from dialog_e2e import CMD_SET, Dialog, ini_bytes
from pelluna_e2e import Desktop, check_registry, ended_within, run_check, stop, wait_until

CHECKS, check = check_registry()
VERSION = "1.0.0"
DESKTOP_KEY = "HKCU\\Control Panel\\Desktop"
UNINSTALL_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelluna"
PREVIOUS = "C:\\windows\\system32\\previous.scr"
SOURCE_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


class FreshPrefix(Desktop):
    """The test display with a new Wine prefix; install() names the folder the setup installs into."""

    def __init__(self, build_dir, name):
        super().__init__(build_dir)
        self.root = os.path.join(self.build_dir, "e2e", name)
        shutil.rmtree(self.root, ignore_errors=True)
        self.env["WINEPREFIX"] = prefix = os.path.join(self.root, "prefix")
        subprocess.run([os.path.join(SOURCE_DIR, "tools", "testenv"), "prefix",
                        os.path.join(self.build_dir, "testenv"), prefix], check=True, stdout=subprocess.DEVNULL)
        user = next(name for name in os.listdir(os.path.join(prefix, "drive_c", "users")) if name != "Public")
        self.folder = os.path.join(prefix, "drive_c", "users", user, "AppData", "Local", "Programs", "Pelluna")
        self.windows_folder = f"C:\\users\\{user}\\AppData\\Local\\Programs\\Pelluna"
        self.setup = os.path.join(self.build_dir, f"Pelluna-{VERSION}-setup.exe")

    def install(self, name=None):
        return self.folder

    def run(self, *args):
        """A Wine program run to its end; its output goes through a file, as Wine's helpers may keep a pipe."""
        with open(os.path.join(self.root, "output.txt"), "w+", encoding="utf-8", errors="replace") as output:
            done = subprocess.run(["wine", *args], env=self.env, stdin=subprocess.DEVNULL, stdout=output,
                                  stderr=subprocess.DEVNULL, timeout=60)
            output.seek(0)
            return done.returncode, output.read().replace("\r", "")

    def values(self, key):
        """The values of a registry key as {name: (type, data)}; None when the key does not exist."""
        code, text = self.run("reg", "query", key)
        matches = re.findall(r"^    (\S+)    (REG_\w+)    (.*)$", text, re.MULTILINE)
        return {name: (kind, data) for name, kind, data in matches} if code == 0 else None

    def screen_saver(self):
        return (self.values(DESKTOP_KEY) or {}).get("SCRNSAVE.EXE", (None, None))[1]

    def set_screen_saver(self, path):
        self.run("reg", *(("add", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/d", path, "/f") if path
                          else ("delete", DESKTOP_KEY, "/v", "SCRNSAVE.EXE", "/f")))

    def install_silently(self):
        assert self.run(self.setup, "/S")[0] == 0, "the silent install failed"

    def uninstall_silently(self):
        """Runs the uninstall entry's quiet command. The uninstaller hands over to a copy of itself and ends
        at once: it is done when its entry, the last thing it removes, is gone."""
        program, switch = re.fullmatch(r'"(.+)" (/S)', self.values(UNINSTALL_KEY)["QuietUninstallString"][1]).groups()
        self.run(program, switch)
        assert wait_until(lambda: self.values(UNINSTALL_KEY) is None, 30), "the uninstall entry stayed"

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def file_bytes(path):
    with open(path, "rb") as data:
        return data.read()


@check
def the_wizard_speaks_the_users_language(desktop):
    with FreshPrefix(desktop.build_dir, "installer_wizard") as prefix:
        for locale, title in (("ja_JP.UTF-8", "Pelluna セットアップ"), ("C.UTF-8", "Pelluna Setup")):
            wizard = prefix.start(prefix.setup, locale=locale)
            try:
                assert wait_until(lambda: prefix.windows_titled(title), 20), f"no wizard titled {title!r}"
            finally:
                stop(wizard)


@check
def a_silent_install_makes_pelluna_the_screen_saver_and_it_runs(desktop):
    with FreshPrefix(desktop.build_dir, "installer_install") as prefix:
        prefix.set_screen_saver(PREVIOUS)
        prefix.install_silently()
        assert sorted(os.listdir(prefix.folder)) == ["INSTALL.txt", "Pelluna.scr", "Uninstall.exe"]
        assert file_bytes(os.path.join(prefix.folder, "Pelluna.scr")) == file_bytes(prefix.scr)
        install_text = file_bytes(os.path.join(SOURCE_DIR, "docs", "INSTALL.txt")).replace(b"\n", b"\r\n")
        assert file_bytes(os.path.join(prefix.folder, "INSTALL.txt")) == install_text
        program, folder = prefix.windows_folder + "\\Pelluna.scr", prefix.windows_folder
        assert prefix.values(DESKTOP_KEY)["SCRNSAVE.EXE"] == ("REG_SZ", program)
        assert prefix.values(DESKTOP_KEY)["ScreenSaveActive"] == ("REG_SZ", "1")
        size = sum(os.path.getsize(os.path.join(prefix.folder, name)) for name in os.listdir(prefix.folder))
        assert prefix.values(UNINSTALL_KEY) == {
            "DisplayName": ("REG_SZ", "Pelluna"), "DisplayVersion": ("REG_SZ", VERSION),
            "DisplayIcon": ("REG_SZ", program + ",0"), "InstallLocation": ("REG_SZ", folder),
            "UninstallString": ("REG_SZ", f'"{folder}\\Uninstall.exe"'),
            "QuietUninstallString": ("REG_SZ", f'"{folder}\\Uninstall.exe" /S'),
            "EstimatedSize": ("REG_DWORD", hex(size // 1024)), "NoModify": ("REG_DWORD", "0x1"),
            "NoRepair": ("REG_DWORD", "0x1"), "PreviousScreenSaver": ("REG_SZ", PREVIOUS)}

        saver = prefix.start(os.path.join(prefix.folder, "Pelluna.scr"), "/S")
        prefix.key_to("Pelluna_Main", "space")
        assert ended_within(saver, 10), "a key did not end the installed saver"
        with Dialog(prefix, "installed") as dialog:
            dialog.click(CMD_SET)
            assert dialog.ended(), "the dialog did not close after saving"
        assert file_bytes(os.path.join(prefix.folder, "Pelluna.ini")) == ini_bytes(
            [("DropsCount", "25"), ("RippleSpeed", "100"), ("RippleSize", "100"), ("BGM区分", "0"),
             ("BGMﾘﾋﾟｰﾄ", "0"), ("BGMﾌｧｲﾙ", "")])


@check
def an_install_over_it_keeps_the_settings_and_a_silent_uninstall_removes_it(desktop):
    with FreshPrefix(desktop.build_dir, "installer_again") as prefix:
        prefix.set_screen_saver(PREVIOUS)
        prefix.install_silently()
        program, ini = os.path.join(prefix.folder, "Pelluna.scr"), os.path.join(prefix.folder, "Pelluna.ini")
        for path, content in ((program, b"an older program"), (ini, b"[Section]\r\nDropsCount=33\r\n")):
            with open(path, "wb") as data:
                data.write(content)
        prefix.install_silently()
        assert file_bytes(program) == file_bytes(prefix.scr), "the program was not replaced"
        assert file_bytes(ini) == b"[Section]\r\nDropsCount=33\r\n", "the settings changed"
        assert prefix.values(UNINSTALL_KEY)["PreviousScreenSaver"] == ("REG_SZ", PREVIOUS)
        open(os.path.join(prefix.folder, "mine.txt"), "wb").close()
        prefix.uninstall_silently()
        assert os.listdir(prefix.folder) == ["mine.txt"], "the uninstall left its files or took the user's"
        assert prefix.screen_saver() == PREVIOUS, "the previous screen saver did not come back"
        # With none before, and with another one chosen since, the uninstall leaves the screen saver alone.
        os.remove(os.path.join(prefix.folder, "mine.txt"))
        for before, chosen_since, after in ((None, None, None), (PREVIOUS, "C:\\other.scr", "C:\\other.scr")):
            prefix.set_screen_saver(before)
            prefix.install_silently()
            if chosen_since:
                prefix.set_screen_saver(chosen_since)
            prefix.uninstall_silently()
            assert not os.path.exists(prefix.folder), "the empty folder stayed"
            assert prefix.screen_saver() == after, (before, chosen_since, prefix.screen_saver())


if __name__ == "__main__":
    run_check(CHECKS)
