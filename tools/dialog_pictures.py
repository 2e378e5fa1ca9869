#!/usr/bin/python3
"""Photographs the real settings dialog under Wine, once on a Japanese and once on an English system, and once
at 200 % with a long music path, for the README: docs/pelluna-settings.png, docs/pelluna-settings-english.png
and docs/pelluna-settings-200.png; the preview in a box of 150 % (docs/pelluna-preview-150.png) and the Japanese
setup's folder page (docs/pelluna-setup-folder.png).

Usage: tools/dialog_pictures.py BUILD_DIR      (a windows build; starts and stops its own test environment)"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

from dialog_e2e import DIALOG_TITLE, ENGLISH, ENGLISH_TITLE, JAPANESE, Dialog, near  # noqa: E402
from pelluna_e2e import Desktop, screenshot_pixels, stop, wait_until  # noqa: E402
from saver_e2e import geometry  # noqa: E402

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


def crop(desktop, window, picture):
    """The window as the screen shows it, frame and all."""
    left, top, width, height = geometry(desktop, window)
    shot = os.path.join(desktop.build_dir, "e2e", "picture-screen.png")
    subprocess.run(["import", "-window", "root", shot], env=desktop.env, check=True)
    subprocess.run(["convert", shot, "-crop", f"{width}x{height}+{left}+{top}", "+repage", "-depth", "8", picture],
                   check=True)


def box_filled(desktop, title):
    """Whether the window titled title shows light blue at its bottom right corner, as the stretched preview does."""
    left, top, width, height = geometry(desktop, desktop.windows_titled(title)[0])
    screen_width, _, raw = screenshot_pixels(desktop, os.path.join(desktop.build_dir, "e2e", "picture-screen.png"))
    at = ((top + height - 3) * screen_width + left + width - 3) * 3
    red, _, blue = raw[at:at + 3]
    return blue >= 170 and blue > red


def photograph_program(desktop, program, title, shown, picture, locale="C.UTF-8", *args):
    """Starts program, waits for its window titled title and for shown(), photographs it and ends it."""
    os.makedirs(os.path.join(desktop.build_dir, "e2e"), exist_ok=True)
    process = desktop.start(program, *args, locale=locale)
    try:
        assert wait_until(lambda: desktop.windows_titled(title) and shown(), 30), f"no {title}"
        crop(desktop, desktop.windows_titled(title)[0], picture)
    finally:
        stop(process)


def main():
    build_dir = os.path.abspath(sys.argv[1])
    env_dir = os.path.join(build_dir, "pictures-env")
    docs = os.path.join(HERE, "..", "docs")
    subprocess.run([os.path.join(HERE, "testenv"), "start", env_dir], check=True)
    try:
        desktop = Desktop(build_dir, "pictures-env")
        photograph(desktop, JAPANESE, DIALOG_TITLE, os.path.join(docs, "pelluna-settings.png"))
        photograph(desktop, ENGLISH, ENGLISH_TITLE, os.path.join(docs, "pelluna-settings-english.png"))
        # The preview fills a box of 150 % (228 x 168, where 100 % is 152 x 112) with its picture.
        box = os.path.join(build_dir, "tests", "demo", "pelluna_preview_box.exe")
        photograph_program(desktop, box, "Pelluna preview box", lambda: box_filled(desktop, "Pelluna preview box"),
                           os.path.join(docs, "pelluna-preview-150.png"), "C.UTF-8", "228", "168")
        # The Japanese setup, one page on: its folder page (the later pages' title ends in a blank).
        texts = lambda: subprocess.run(["wine", desktop.helper("pelluna_window_texts"), "Pelluna セットアップ "],
                                       env=desktop.environment(JAPANESE), capture_output=True, text=True).stdout
        setup = desktop.start(os.path.join(build_dir, "Pelluna-1.0.0-setup.exe"), locale=JAPANESE)
        try:
            assert wait_until(lambda: desktop.windows_titled("Pelluna セットアップ"), 30), "no setup"
            assert wait_until(lambda: desktop.foreground_title() == "Pelluna セットアップ", 10), "setup not active"
            desktop.xdotool("key", "Return")
            assert wait_until(lambda: "[参照]" in texts(), 30), "no folder page"
            crop(desktop, desktop.windows_titled("Pelluna セットアップ ")[0], os.path.join(docs, "pelluna-setup-folder.png"))
        finally:
            stop(setup)
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
