#!/usr/bin/python3
"""The setup program under Wine, in a fresh prefix per check: a silent install, the installed saver and its
dialog, an install over it and into another folder, updates and uninstalls while Pelluna runs, and the
screen saver they put back.
Usage: installer_e2e.py BUILD_DIR CHECK"""
import os
import re
import shutil
import struct
import subprocess

from dialog_e2e import CMD_SET, DIALOG_TITLE, Dialog, ini_bytes
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
        for saver in (PREVIOUS, OTHER):  # the screen savers a check keeps and puts back
            open(self.unix(saver), "wb").close()

    def unix(self, path):
        return f"{self.env['WINEPREFIX']}/drive_c/{path[3:]}".replace("\\", "/")

    def install(self, name=None):
        return self.folder

    def run(self, *args, locale="C.UTF-8"):
        """Runs a Wine program to its end, its output through a file: Wine's helpers may hold a pipe open.
        Console programs write in the OEM code page, 437 here."""
        with open(f"{self.root}/output.txt", "w+", encoding="cp437") as output:
            done = subprocess.run(["wine", *args], env=self.environment(locale), stdin=subprocess.DEVNULL,
                                  stdout=output, stderr=subprocess.DEVNULL, timeout=60)
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

    def setup(self, locale="C.UTF-8", code=0, folder=None):
        assert self.run(f"{self.build_dir}/Pelluna-1.0.0-setup.exe", "/S", *[f"/D={folder}"] * bool(folder),
                        locale=locale)[0] == code, f"the silent install did not exit {code}"

    def running(self, what, title, locale):
        """Starts Pelluna.scr from the install folder with what (/S, /C, or /P in a host's box), or another
        program titled what in its place, and returns the process (the host's) once its window is there."""
        if what == "/P":
            scr = f"{self.windows_folder}\\Pelluna.scr"
            with open(f"{self.root}/host.txt", "w+") as report:  # the host's report, as it is written
                host = subprocess.Popen(["wine", self.helper("pelluna_preview_host"), scr, "60"],
                                        env=self.environment(), stdin=subprocess.DEVNULL, stdout=report)
                assert wait_until(lambda: "child" in read(report.name).decode(), 20), "no preview"
            return host
        if not what.startswith("/"):
            shutil.copy(self.helper("pelluna_title_window"), f"{self.folder}/Pelluna.scr")
        process = self.start(f"{self.folder}/Pelluna.scr", what, locale=locale)
        assert wait_until(lambda: self.windows_titled(title), 20), f"no {title} window"
        return process

    def uninstall(self, program=None):
        """Runs the entry's quiet command, or program /S. The uninstaller hands over to a copy of itself and ends
        at once; the copy is done when the entry, the last thing it removes, is gone."""
        self.run(*re.fullmatch(r'"(.+)" (/S)', self.values(UNINSTALL_KEY)["QuietUninstallString"][1]).groups()
                 if program is None else (program, "/S"))
        assert wait_until(lambda: self.values(UNINSTALL_KEY) is None, 30), (
            "the uninstall entry stayed", os.listdir(self.folder) if os.path.exists(self.folder) else None,
            subprocess.run(["ps", "-eo", "args"], capture_output=True, text=True).stdout)

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


# The wizards walked by keys in each language, in the font of their buttons and labels (Japanese.nlf's, and the
# layout's own): for each run of a program, its pages' titles, a text that shows the page and the key that leaves
# it (Yes to the abort question ends that run; None ends the finish page, so that no settings open).
WIZARDS = (("ja_JP.UTF-8", "ＭＳ Ｐゴシック", "9", "セットアップ", "アンインストール", (
    "続けるには [次へ] を押してください。", "Pelluna のセットアップを中止しますか？",
    "[参照] を押してフォルダーを選んでください。", "Pelluna をこのコンピューターにインストールしました。",
    "Pelluna を次のフォルダーからアンインストールします。", "アンインストールが完了しました。")),
    ("C.UTF-8", "MS Shell Dlg", "8", "Setup", "Uninstall", (
        "Click Next to continue.", "Are you sure you want to quit Pelluna Setup?",
        "click Browse and select another folder.", "Pelluna has been installed on your computer.",
        "Pelluna will be uninstalled from the following folder.", "Uninstall was completed successfully.")))


def walk_wizards(prefix, locale, face, size, setup, uninstall, texts):
    """Everything the wizards show in locale, as the window-texts helper measures it."""
    seen = []
    then, un_then = setup + " ", uninstall + " "  # the titles of the pages after the first
    for program, pages in (("setup", ((setup, texts[0], "Escape"), (setup, texts[1], "y"))),
                           ("setup", ((setup, texts[0], "Return"), (then, texts[2], "Return"), (then, texts[3], None))),
                           ("Uninstall.exe", ((un_then, texts[4], "Return"), (un_then, texts[5], "Return")))):
        process = prefix.start(f"{prefix.build_dir}/Pelluna-1.0.0-setup.exe" if program == "setup" else
                               f"{prefix.folder}/{program}", locale=locale)
        for title, text, key in pages:
            # The abort question is a message box, in the system's own font: its texts are read, not measured.
            title, fit = f"Pelluna {title}", ("fit", face, size) if key != "y" else ()
            shown = lambda: subprocess.run(["wine", prefix.helper("pelluna_window_texts"), title, *fit],
                                           env=prefix.environment(locale), capture_output=True, text=True).stdout
            assert wait_until(lambda: text in shown(), 30), (text, shown())
            seen += shown().splitlines()
            if key is None:
                stop(process)
                continue
            assert wait_until(lambda: prefix.foreground_title() == title.strip(), 10), title
            prefix.xdotool("key", key)
        assert wait_until(lambda: not shown(), 30), f"{title} stayed"
    return seen


@check
def a_silent_install_makes_pelluna_the_screen_saver_and_it_runs(desktop):
    with FreshPrefix(desktop.build_dir, "installer_install") as prefix:
        prefix.set_screen_saver(PREVIOUS)
        prefix.setup()
        assert sorted(os.listdir(prefix.folder)) == [
            "INSTALL.txt", "Pelluna.scr", "PellunaSettings.exe", "Uninstall.exe"]
        # Wine's menu builder, which each new shortcut would start, stays off: once none runs (on this machine),
        # the test's home has no menu entries.
        wait_until(lambda: subprocess.run(["pgrep", "-f", "winemenubuilder"], stdout=subprocess.DEVNULL).returncode, 20)
        assert not os.path.exists(f"{prefix.env['HOME']}/.local/share/applications/wine")
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
            "Publisher": ("REG_SZ", "Pelluna"), "URLInfoAbout": ("REG_SZ", "https://pelluna.example.org/"),
            "UninstallString": ("REG_SZ", f'"{folder}\\Uninstall.exe"'),
            "QuietUninstallString": ("REG_SZ", f'"{folder}\\Uninstall.exe" /S'),
            "EstimatedSize": ("REG_DWORD", hex(kib)), "NoModify": ("REG_DWORD", "0x1"),
            "NoRepair": ("REG_DWORD", "0x1"), "PreviousScreenSaver": ("REG_SZ", PREVIOUS),
            "NoPreviousScreenSaveActive": ("REG_DWORD", "0x1")}
        saver = prefix.start(f"{prefix.folder}/Pelluna.scr", "/S")
        prefix.key_to("Pelluna_Main", "space")
        assert ended_within(saver, 10), "a key did not end the installed saver"
        # The settings entry's program opens the settings (Escape closes them).
        prefix.run(f"{prefix.folder}/PellunaSettings.exe")
        prefix.key_to("Pelluna Settings", "Escape")
        assert wait_until(lambda: not prefix.windows_titled("Pelluna Settings"), 10), "no settings from the entry"
        with Dialog(prefix, "installed") as dialog:
            dialog.click(CMD_SET)
            assert dialog.ended(), "the dialog did not close after saving"
        assert read(f"{prefix.folder}/Pelluna.ini") == ini_bytes([("DropsCount", "25"), ("RippleSpeed", "100"),
            ("RippleSize", "100"), ("BGM区分", "0"), ("BGMﾘﾋﾟｰﾄ", "0"), ("BGMﾌｧｲﾙ", "")])
        # The wizards: every button and label holds its text; the Japanese reads as one text, in today's words,
        # full-width, with no passive "されます", no blank after a closing bracket and no English sentence.
        for locale, *wizard in WIZARDS:
            seen = walk_wizards(prefix, locale, *wizard)
            rooms = [line.split("\t") for line in seen if line.count("\t") == 2]
            assert rooms and [room for room in rooms if not all(int(need) <= int(have) for need, have in zip(
                room[1].split(), room[2].split()))] == [], (locale, rooms)
            faults = re.findall(r"フォルダ(?!ー)|コンピュータ(?!ー)|[\uff61-\uff9f]|されます|」 |\b[a-z]+ [a-z]+\b",
                                "\n".join(seen))
            assert not locale.startswith("ja") or faults == [], (faults, seen)


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
        # The same folder under another name (on Windows a subst drive, a junction, a UNC path) is this install.
        windows = lambda path: "Z:" + path.replace("/", "\\")  # Wine's name of a Unix path
        same = windows(prefix.folder)
        prefix.setup(folder=same)
        assert (sorted(os.listdir(prefix.folder)), read(f"{prefix.folder}/Pelluna.ini")) == (
            ["INSTALL.txt", "Pelluna.ini", "Pelluna.scr", "PellunaSettings.exe", "Uninstall.exe", "mine.txt"], settings)
        # Into another folder, named outside the code page, so that the silent setup's folder check asks for
        # its short form: the earlier folder keeps only the user's file, and the settings come along.
        earlier, uninstaller, other = prefix.folder, read(f"{prefix.folder}/Uninstall.exe"), "C:\\users\\Public\\Ω"
        prefix.setup(folder=other)
        assert (os.listdir(earlier), read(prefix.unix(f"{other}\\Pelluna.ini"))) == (["mine.txt"], settings)
        # The earlier uninstaller, put back, removes its own folder's files only: the entry, the Start menu
        # and the screen saver stay the other folder's.
        for name, content in (("Uninstall.exe", uninstaller), ("Pelluna.scr", read(prefix.scr))):
            with open(f"{earlier}/{name}", "wb") as data:
                data.write(content)
        prefix.run(f"{earlier}/Uninstall.exe", "/S")
        assert wait_until(lambda: os.listdir(earlier) == ["mine.txt"], 30), "the earlier uninstaller left its files"
        assert (prefix.values(UNINSTALL_KEY)["InstallLocation"][1], prefix.screen_saver()) == (
            other, f"{other}\\Pelluna.scr")
        prefix.uninstall()
        assert (os.path.exists(prefix.unix(other)), prefix.screen_saver()) == (False, PREVIOUS)
        os.remove(f"{prefix.folder}/mine.txt")
        # With none before, none comes back (here installed under one name and removed under the other); a screen
        # saver chosen since Pelluna stays; a kept one whose file has gone since does not come back.
        for before, chosen_since, gone, after, folder in (
                (None, None, None, None, same), (PREVIOUS, OTHER, None, OTHER, None),
                (PREVIOUS, None, PREVIOUS, None, None)):
            prefix.set_screen_saver(before)
            prefix.setup(folder=folder)
            if chosen_since:
                prefix.set_screen_saver(chosen_since)
            if gone:
                os.remove(prefix.unix(gone))
            prefix.uninstall(folder and f"{prefix.windows_folder}\\Uninstall.exe")
            assert (os.path.exists(prefix.folder), prefix.screen_saver()) == (False, after), (before, chosen_since)
        # A folder quoted as deployment scripts quote it, passed as a script passes it; one that cannot be read
        # installs nothing.
        for argument, code, folder in (('"/D=C:\\My Savers\\Rain Saver"', 0, "C:\\My Savers\\Rain Saver"),
                                       ('/D="C:\\Rain Saver"', 0, "C:\\Rain Saver"), ('"/D=C:\\Open', 2, "C:\\Rain Saver")):
            with open(f"{prefix.root}/setup.bat", "w") as batch:
                batch.write(f'"{windows(prefix.build_dir)}\\Pelluna-1.0.0-setup.exe" /S {argument}\r\nexit /b %errorlevel%\r\n')
            assert (prefix.run("cmd", "/c", windows(f"{prefix.root}/setup.bat"))[0],
                    prefix.values(UNINSTALL_KEY)["InstallLocation"][1],
                    os.path.exists(prefix.unix(f"{folder}\\Pelluna.scr"))) == (code, folder, True), argument


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
def updates_and_uninstalls_end_a_running_saver_or_preview_but_not_an_open_dialog_and_leave_the_desktop_as_before(
        desktop):
    with FreshPrefix(desktop.build_dir, "installer_update") as prefix:
        menu = prefix.folder.replace("Local/Programs/Pelluna", "Roaming/Microsoft/Windows/Start Menu/Programs/Pelluna")
        folder = prefix.windows_folder
        # The profile before; what runs from the install folder during the update and the uninstall (the saver,
        # the dialog, a preview in a host's box, another program in the place of Pelluna.scr), the window it
        # shows and their exit code; the Start-menu entries in the setup's language. ScreenSaveActive "0" is
        # a value the install changes, so that putting it back shows.
        english = ("Pelluna Settings", "Make Pelluna the Screen Saver")
        for locale, before, running, title, code, entries in (
                ("C.UTF-8", {}, "/S", "Pelluna_Main", 0, english),
                ("ja_JP.UTF-8", {"SCRNSAVE.EXE": OTHER, "ScreenSaveActive": "0"}, "/C", DIALOG_TITLE, 2,
                 (DIALOG_TITLE, "Pelluna をスクリーン セーバーにする")),
                ("C.UTF-8", {}, "/P", None, 0, english), ("C.UTF-8", {}, "Other", "Other", 2, english)):
            for name, data in before.items():
                prefix.run("reg", "add", DESKTOP_KEY, "/v", name, "/d", data, "/f")
            desktop_before = prefix.values(DESKTOP_KEY)
            prefix.setup(locale)
            with open(f"{prefix.folder}/Pelluna.scr", "ab") as program:
                program.write(b"altered")  # still a program that runs
            process = prefix.running(running, title, locale)
            altered = read(f"{prefix.folder}/Pelluna.scr")
            prefix.setup(locale, code)
            assert read(f"{prefix.folder}/Pelluna.scr") == (altered if code else read(prefix.scr)), running
            # Saver and preview were ended before the file was replaced; the dialog is left for the user to close.
            assert ended_within(process, 5) if code == 0 else process.poll() is None, running
            stop(process)
            if code:
                prefix.setup(locale)
            assert {name: shortcut(f"{menu}/{name}") for name in os.listdir(menu)} == {
                f"{entries[0]}.lnk": (f"{folder}\\PellunaSettings.exe", ""),
                f"{entries[1]}.lnk": ("C:\\windows\\system32\\rundll32.exe",
                                      f'desk.cpl,InstallScreenSaver "{folder}\\Pelluna.scr"')}
            # So does the uninstaller; where the update failed, it ends as the update did and keeps everything
            # (run in its folder, so that its exit code can be waited for).
            process = prefix.running(running, title, locale)
            if code:
                assert prefix.run(f"{prefix.folder}/Uninstall.exe", "/S", f"_?={folder}")[0] == code, running
                assert (process.poll(), prefix.values(UNINSTALL_KEY)["InstallLocation"], os.path.exists(menu)) == (
                    None, ("REG_SZ", folder), True), running
                stop(process)
            prefix.uninstall()
            assert ended_within(process, 5), running
            assert (prefix.values(DESKTOP_KEY), os.path.exists(menu)) == (desktop_before, False), running


if __name__ == "__main__":
    run_check(CHECKS)
