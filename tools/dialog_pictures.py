#!/usr/bin/python3
"""Photographs the real settings dialog under Wine, once on a Japanese and once on an English system, and once
at 200 % with a long music path, for the README: docs/pelluna-settings.png, docs/pelluna-settings-english.png
and docs/pelluna-settings-200.png.

Usage: tools/dialog_pictures.py BUILD_DIR      (a windows build; starts and stops its own test environment)"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

from dialog_e2e import DIALOG_TITLE, ENGLISH, ENGLISH_TITLE, JAPANESE, Dialog, near  # noqa: E402
from pelluna_e2e import Desktop, wait_until  # noqa: E402

LONG_PATH = "C:\\Users\\Ame\\Music\\Rainy season 2026\\Recorded at the window on a quiet evening\\" \
            "The second album of rain sounds\\rain on the window.mp3"


def photograph(desktop, locale, title, picture, settings=None, scale=1):
    with Dialog(desktop, "dialog_picture", settings, locale=locale, title=title, drawn_at_96_dpi=scale == 1) as dialog:
        if scale != 1:
            def shaded():
                dialog.window, dialog.client = dialog.rectangles()
                return near(dialog.pixels("shaded")(scale * 16 + 6, scale * (20 + 72)), (220, 220, 250))

            assert wait_until(shaded, 10), "the dialog was never drawn whole"
        left, top, right, bottom = dialog.window
        shot = os.path.join(dialog.folder, "screen.png")
        subprocess.run(["import", "-window", "root", shot], env=desktop.env, check=True)
        subprocess.run(["convert", shot, "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                        "-depth", "8", picture], check=True)
        dialog.key("Escape")
        assert dialog.ended(), "the dialog did not close"


def main():
    build_dir = os.path.abspath(sys.argv[1])
    env_dir = os.path.join(build_dir, "pictures-env")
    docs = os.path.join(HERE, "..", "docs")
    subprocess.run([os.path.join(HERE, "testenv"), "start", env_dir], check=True)
    try:
        desktop = Desktop(build_dir, "pictures-env")
        photograph(desktop, JAPANESE, DIALOG_TITLE, os.path.join(docs, "pelluna-settings.png"))
        photograph(desktop, ENGLISH, ENGLISH_TITLE, os.path.join(docs, "pelluna-settings-english.png"))
        # At 192 dots per inch, set in this environment's own prefix for the one picture.
        for dpi in ("192", "96"):
            subprocess.run(["wine", "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t",
                            "REG_DWORD", "/d", dpi, "/f"], env=desktop.env, capture_output=True, check=True)
            subprocess.run(["wineserver", "-k"], env=desktop.env, check=False)
            subprocess.run(["wineserver", "-w"], env=desktop.env, check=False)
            if dpi == "192":
                photograph(desktop, JAPANESE, DIALOG_TITLE, os.path.join(docs, "pelluna-settings-200.png"),
                           {"BGM区分": "2", "BGMﾌｧｲﾙ": LONG_PATH}, scale=2)
    finally:
        subprocess.run([os.path.join(HERE, "testenv"), "stop", env_dir], check=True)


if __name__ == "__main__":
    main()
