#!/usr/bin/python3
"""Start-up of the real Pelluna.scr: the single-instance guard, unknown modes, and preview without settings.
Usage: startup_e2e.py BUILD_DIR CHECK"""
import os

from pelluna_e2e import check_registry, ended_within, run_check, stop, wait_until

SAVER_TITLE = "Pelluna_Main"
DIALOG_TITLE = "Pellunaの設定"
CHECKS, check = check_registry()


def guard(desktop, title, locale):
    """While a window with one of the program's titles exists, a new /S ends at once without a window."""
    folder = desktop.install("guard")
    holder = desktop.start(desktop.helper("pelluna_title_window"), title, locale=locale)
    try:
        # Under code page 1252 the Japanese title becomes question marks, as the program's own would.
        shown = title if locale.startswith("ja") or title.isascii() else title.encode("cp1252", "replace").decode("cp1252")
        assert wait_until(lambda: desktop.windows_titled(shown), 20), f"helper window {shown!r} did not appear"
        saver = desktop.start(os.path.join(folder, "Pelluna.scr"), "/S", locale=locale)
        assert ended_within(saver, 10), "the second instance did not end"
        assert saver.returncode == 0, saver.returncode
        assert len(desktop.windows_titled(SAVER_TITLE)) <= (1 if title == SAVER_TITLE else 0)
        assert not os.path.exists(os.path.join(folder, "Pelluna.ini"))
    finally:
        stop(holder)


# One check per title and code page, named like guard_dialog_title_cp932.
for _title_name, _title in (("saver", SAVER_TITLE), ("dialog", DIALOG_TITLE)):
    for _code_page, _locale in (("cp1252", "C.UTF-8"), ("cp932", "ja_JP.UTF-8")):
        CHECKS[f"guard_{_title_name}_title_{_code_page}"] = (
            lambda desktop, title=_title, locale=_locale: guard(desktop, title, locale))


@check
def unknown_mode_ends_without_window(desktop):
    folder = desktop.install("unknown_mode")
    process = desktop.start(os.path.join(folder, "Pelluna.scr"), "/a")
    seen = wait_until(lambda: process.poll() is not None or desktop.windows_titled(SAVER_TITLE), 10)
    assert ended_within(process, 10), "/a did not end"
    assert not desktop.windows_titled(SAVER_TITLE), "/a made a saver window"
    assert seen


@check
def preview_never_creates_the_settings_file(desktop):
    folder = desktop.install("preview_no_ini")
    process = desktop.start(os.path.join(folder, "Pelluna.scr"), "/p", "1234")
    try:
        ended_within(process, 5)
        assert not os.path.exists(os.path.join(folder, "Pelluna.ini")), "preview wrote Pelluna.ini"
    finally:
        stop(process)


if __name__ == "__main__":
    run_check(CHECKS)
