#!/usr/bin/python3
"""Start-up of the real Pelluna.scr: the single-instance guard, starts that race, unknown modes, and a
settings file that no mode but the dialog's save touches. Usage: startup_e2e.py BUILD_DIR CHECK"""
import os
import time

from pelluna_e2e import SettingsFileKept, check_registry, ended_within, run_check, stop, wait_until

SAVER_TITLE = "Pelluna_Main"
DIALOG_TITLE = "Pellunaの設定"
ENGLISH_DIALOG_TITLE = "Pelluna Settings"
CHECKS, check = check_registry()


def guard(desktop, title, locale):
    """While a window with one of the program's titles exists, a new /S ends at once without a window."""
    folder = desktop.install("guard")
    holder = desktop.start(desktop.helper("pelluna_title_window"), title, locale=locale)
    try:
        with SettingsFileKept(folder):
            # Under code page 1252 the Japanese title becomes question marks, as the program's own would.
            shown = title if locale.startswith("ja") or title.isascii() else title.encode("cp1252", "replace").decode("cp1252")
            assert wait_until(lambda: desktop.windows_titled(shown), 20), f"helper window {shown!r} did not appear"
            saver = desktop.start(os.path.join(folder, "Pelluna.scr"), "/S", locale=locale)
            assert ended_within(saver, 10), "the second instance did not end"
            assert saver.returncode == 0, saver.returncode
            assert len(desktop.windows_titled(SAVER_TITLE)) <= (1 if title == SAVER_TITLE else 0)
    finally:
        stop(holder)


# One check per title and code page, named like guard_dialog_title_cp932.
for _title_name, _title in (("saver", SAVER_TITLE), ("dialog", DIALOG_TITLE), ("dialog_english", ENGLISH_DIALOG_TITLE)):
    for _code_page, _locale in (("cp1252", "C.UTF-8"), ("cp932", "ja_JP.UTF-8")):
        CHECKS[f"guard_{_title_name}_title_{_code_page}"] = (
            lambda desktop, title=_title, locale=_locale: guard(desktop, title, locale))


@check
def two_saver_starts_close_together_open_one_window(desktop):
    """The window search cannot see a saver that has not made its window yet; the guard must still hold."""
    folder = desktop.install("paired")
    scr = os.path.join(folder, "Pelluna.scr")
    for gap in (0.0, 0.05, 0.2):
        for attempt in range(10):
            first = desktop.start(scr, "/S")
            time.sleep(gap)  # the stimulus: how far apart the two starts come
            second = desktop.start(scr, "/S")
            pair = (first, second)
            try:
                # One of the two ends by the guard, the other shows its window.
                assert wait_until(lambda: any(p.poll() is not None for p in pair), 20), \
                    f"gap {gap}, pair {attempt}: neither start ended"
                assert wait_until(lambda: desktop.windows_titled(SAVER_TITLE), 20), \
                    f"gap {gap}, pair {attempt}: no saver window"
                windows = desktop.windows_titled(SAVER_TITLE)
                assert len(windows) == 1, f"gap {gap}, pair {attempt}: {len(windows)} saver windows"
                assert sum(p.poll() is None for p in pair) == 1, f"gap {gap}, pair {attempt}: both ended"
                desktop.key_to(SAVER_TITLE, "space")
                assert wait_until(lambda: all(p.poll() is not None for p in pair), 10), \
                    f"gap {gap}, pair {attempt}: the saver left over did not end on a key"
                assert wait_until(lambda: not desktop.windows_titled(SAVER_TITLE), 10)
            finally:
                for process in pair:
                    stop(process)


@check
def unknown_mode_ends_without_window(desktop):
    folder = desktop.install("unknown_mode")
    process = desktop.start(os.path.join(folder, "Pelluna.scr"), "/a")
    seen = wait_until(lambda: process.poll() is not None or desktop.windows_titled(SAVER_TITLE), 10)
    assert ended_within(process, 10), "/a did not end"
    assert not desktop.windows_titled(SAVER_TITLE), "/a made a saver window"
    assert seen


@check
def no_mode_writes_the_settings_file_unless_the_dialog_saves(desktop):
    folder = desktop.install("settings_kept")
    scr = os.path.join(folder, "Pelluna.scr")
    # Each mode, and the window it opens, ended the way a user ends it without saving.
    # No arguments open the settings, as Explorer's Configure expects.
    for args, title in ((("/S",), SAVER_TITLE), ((), DIALOG_TITLE), (("/p", "1234"), None), (("/a",), None),
                        (("/c",), DIALOG_TITLE)):
        with SettingsFileKept(folder):
            process = desktop.start(scr, *args, locale="ja_JP.UTF-8")
            try:
                if title and wait_until(lambda: process.poll() is not None or desktop.windows_titled(title), 20):
                    if process.poll() is None:
                        desktop.key_to(title, "Escape")
                assert ended_within(process, 10), f"{args} did not end"
            finally:
                stop(process)


if __name__ == "__main__":
    run_check(CHECKS)
