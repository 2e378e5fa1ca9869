#!/usr/bin/python3
"""Photographs the real settings dialog under Wine, once on a Japanese and once on an English system, for the
README: docs/pelluna-settings.png and docs/pelluna-settings-english.png.

Usage: tools/dialog_pictures.py BUILD_DIR      (a windows build; starts and stops its own test environment)"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

from dialog_e2e import DIALOG_TITLE, ENGLISH, ENGLISH_TITLE, JAPANESE, Dialog  # noqa: E402
from pelluna_e2e import Desktop  # noqa: E402


def photograph(desktop, locale, title, picture):
    with Dialog(desktop, "dialog_picture", locale=locale, title=title) as dialog:
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
    finally:
        subprocess.run([os.path.join(HERE, "testenv"), "stop", env_dir], check=True)


if __name__ == "__main__":
    main()
