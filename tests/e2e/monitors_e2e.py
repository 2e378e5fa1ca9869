#!/usr/bin/python3
"""The real Pelluna.scr on two monitors side by side (tools/testenv --two-monitors): the primary 1920 x 1080
at (0, 0), the second 1280 x 1024 at (1920, 0), a 3200 x 1080 virtual screen. (Its corner below the second
monitor is on no screen of the X server, whose copy of it is undefined.) Usage: monitors_e2e.py BUILD_DIR CHECK"""
import os
import re
import subprocess

from pelluna_e2e import check_registry, ended_within, run_check, stop, wait_until
from saver_e2e import SAVER_TITLE, Saver, family, geometry

CHECKS, check = check_registry()
MONITORS = {"primary": (0, 0, 1920, 1080), "second": (1920, 0, 1280, 1024)}  # left, top, width, height
WHITE = (255, 255, 255)


def colours(desktop, folder, region):
    """The set of colours of a region in a fresh copy of the screen."""
    shot = os.path.join(folder, "shot.png")
    subprocess.run(["import", "-window", "root", shot], env=desktop.env, check=True)
    left, top, width, height = region
    raw = subprocess.run(["convert", shot, "-crop", f"{width}x{height}+{left}+{top}", "-depth", "8", "rgb:-"],
                         capture_output=True, check=True).stdout
    assert len(raw) == width * height * 3, f"region {region} of the screen copy is {len(raw)} bytes"
    return set(zip(raw[0::3], raw[1::3], raw[2::3]))


def lit_monitors(desktop, folder):
    """The monitors showing ring pixels on the 16-level grid; any other colour than black (a probe window, the
    desktop) fails."""
    lit = set()
    for name, region in MONITORS.items():
        shown = colours(desktop, folder, region) - {(0, 0, 0)}
        strays = sorted(c for c in shown if family(c) is None)
        assert not strays, f"the {name} monitor shows colours that no pen draws: {strays[:10]}"
        lit |= {name} if shown else set()
    return lit


def gdi_objects(desktop, folder):
    """The saver's live GDI objects, read from its GDI handle table (to a file: Wine's helpers hold pipes)."""
    report = os.path.join(folder, "gdi.txt")
    with open(report, "w", encoding="ascii") as out:
        subprocess.run(["wine", desktop.helper("pelluna_gdi_count"), "Pelluna.scr"], env=desktop.environment(),
                       stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL, timeout=30)
    with open(report, encoding="ascii", errors="replace") as text:
        found = re.search(r"gdi_objects (\d+)", text.read())
    assert found, "the GDI object count could not be read"
    return int(found.group(1))


@check
def covers_both_monitors_with_rings_keeps_its_gdi_objects_over_layout_changes_a_key_ends_it(desktop):
    # A white window on each monitor stands for the desktop that the saver must hide.
    probes = [desktop.start(desktop.helper("pelluna_title_window"), f"Pelluna probe {x}", str(x), "300")
              for x in (400, 2400)]
    try:
        folder = desktop.install("monitors")
        for x, region in zip((400, 2400), MONITORS.values()):
            assert wait_until(lambda: desktop.windows_titled(f"Pelluna probe {x}"), 10), f"no probe at {x}"
            assert wait_until(lambda: WHITE in colours(desktop, folder, region), 5), f"probe at {x} not shown"
        with Saver(desktop, "monitors", {"DropsCount": " 50"}) as saver:
            saver.wait_until_ready()
            window = saver.wait_for_window()[0]
            assert wait_until(lambda: geometry(desktop, window) == (0, 0, 3200, 1080), 5), geometry(desktop, window)
            # Shown and given the keyboard, its frames reach the screen a moment later.
            assert wait_until(lambda: WHITE not in colours(desktop, folder, MONITORS["primary"]), 5), "no frames"
            assert wait_until(lambda: lit_monitors(desktop, folder) == set(MONITORS), 15), "rings on one monitor"

            # Ten layout changes, one at a time so that each reaches the saver in a frame of its own.
            before = gdi_objects(desktop, folder)
            for _ in range(10):
                poster = desktop.start(desktop.helper("pelluna_post_message"), SAVER_TITLE, "0x7E:24:0")
                assert ended_within(poster, 10) and poster.returncode == 0, "WM_DISPLAYCHANGE not taken"
            assert gdi_objects(desktop, folder) == before, f"GDI objects {before} before ten layout changes"
            assert geometry(desktop, window) == (0, 0, 3200, 1080)
            assert wait_until(lambda: lit_monitors(desktop, folder) == set(MONITORS), 15), "rings lost"

            for x, y in ((2600, 500), (3199, 1023), (100, 1000)):  # the pointer over both monitors
                desktop.xdotool("mousemove", str(x), str(y))
            assert not wait_until(lambda: not saver.running(), 0.5), "moving the mouse ended the saver"
            saver.key("space")
            assert ended_within(saver.process, 1), "a key press did not end the saver within 1 s"
    finally:
        for probe in probes:
            stop(probe)


if __name__ == "__main__":
    run_check(CHECKS, "testenv-two-monitors")
