#!/usr/bin/python3
"""The real Pelluna.scr on a desk of two monitors side by side (tools/testenv --two-monitors): the primary
1920 x 1080 at (0, 0), the second 1280 x 1024 at (1920, 0); the virtual screen is 3200 x 1080. Its corner
below the second monitor lies on no screen of the X server, whose copy of it is undefined (it shows pieces
of earlier copies), so it is not looked at here. Usage: monitors_e2e.py BUILD_DIR CHECK"""
import os
import re
import subprocess
import time

from pelluna_e2e import check_registry, ended_within, run_check, stop, wait_until
from saver_e2e import SAVER_TITLE, Saver, family, geometry

CHECKS, check = check_registry()
ENV_NAME = "testenv-two-monitors"
VIRTUAL = (0, 0, 3200, 1080)
# Regions of the screen as (left, top, width, height).
PRIMARY = (0, 0, 1920, 1080)
SECOND = (1920, 0, 1280, 1024)
WM_DISPLAYCHANGE = 0x007E


def region_colours(desktop, shot, region):
    """The set of colours in a region of the screen copy (left, top, width, height)."""
    left, top, width, height = region
    raw = subprocess.run(["convert", shot, "-crop", f"{width}x{height}+{left}+{top}", "-depth", "8", "rgb:-"],
                         capture_output=True, check=True).stdout
    assert len(raw) == width * height * 3, f"region {region} of {shot} is {len(raw)} bytes"
    return set(zip(raw[0::3], raw[1::3], raw[2::3]))


def screen_copy(desktop, folder):
    shot = os.path.join(folder, "shot.png")
    subprocess.run(["import", "-window", "root", shot], env=desktop.env, check=True)
    size = subprocess.run(["identify", "-format", "%w %h", shot], capture_output=True, text=True, check=True)
    assert size.stdout.split() == ["3200", "1080"], f"the screen copy is {size.stdout}"
    return shot


class Probes:
    """A white window on each monitor, standing for the desktop's windows that the saver must hide."""

    def __init__(self, desktop):
        self.desktop = desktop
        self.titles = ("Pelluna probe primary", "Pelluna probe second")
        self.processes = [desktop.start(desktop.helper("pelluna_title_window"), title, str(x), "300")
                          for title, x in zip(self.titles, (400, 2400))]

    def __enter__(self):
        for title in self.titles:
            assert wait_until(lambda: self.desktop.windows_titled(title), 10), f"no window {title!r}"
        return self

    def __exit__(self, *exc):
        for process in self.processes:
            stop(process)


def rings_on_both_monitors(desktop, saver, seconds):
    """Screen copies until both monitors show lit ring pixels; every copy must show nothing but black and
    ring colours on either monitor. Returns the monitors that showed rings."""
    lit = set()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and len(lit) < 2:
        shot = screen_copy(desktop, saver.folder)
        for name, region in (("primary", PRIMARY), ("second", SECOND)):
            colours = region_colours(desktop, shot, region)
            colours.discard((0, 0, 0))
            strays = [c for c in colours if family(c) is None]
            assert not strays, f"the {name} monitor shows colours that no pen draws: {sorted(strays)[:10]}"
            if colours:
                lit.add(name)
    return lit


def start_covering_saver(desktop, name):
    saver = Saver(desktop, name, {"DropsCount": " 50"})
    windows = saver.wait_for_window(5)
    assert windows, "no saver window"
    # The window appears by its title before the load handler has moved it over the desk.
    assert wait_until(lambda: geometry(desktop, windows[0]) == VIRTUAL, 5), geometry(desktop, windows[0])
    saver.wait_until_ready()
    # Shown and given the keyboard, its frames reach the screen a moment later: the primary monitor, where
    # a probe window stands, is black but for rings before anything is judged.
    assert wait_until(lambda: (255, 255, 255) not in region_colours(
        desktop, screen_copy(desktop, saver.folder), PRIMARY), 5), "the saver's frames never showed"
    return saver


@check
def both_monitors_hidden_each_with_its_own_rings_a_key_ends_it(desktop):
    with Probes(desktop):
        folder = desktop.install("monitors_probes")
        before = screen_copy(desktop, folder)
        for region in (PRIMARY, SECOND):
            assert (255, 255, 255) in region_colours(desktop, before, region), f"no probe window in {region}"
        with start_covering_saver(desktop, "monitors") as saver:
            lit = rings_on_both_monitors(desktop, saver, 15)
            assert lit == {"primary", "second"}, f"rings only on: {sorted(lit)}"
            saver.key("space")
            assert ended_within(saver.process, 1), "a key press did not end the saver within 1 s"


def gdi_objects(desktop, folder):
    """The saver's live GDI objects, read by the helper from its GDI handle table (output to a file: Wine's
    helper processes would hold a pipe open)."""
    report = os.path.join(folder, "gdi.txt")
    with open(report, "w", encoding="ascii") as out:
        subprocess.run(["wine", desktop.helper("pelluna_gdi_count"), "Pelluna.scr"], env=desktop.environment(),
                       stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL, timeout=30)
    with open(report, encoding="ascii", errors="replace") as text:
        found = re.search(r"gdi_objects (\d+)", text.read())
    assert found, "the GDI object count could not be read"
    return int(found.group(1))


def post_display_change(desktop):
    poster = desktop.start(desktop.helper("pelluna_post_message"), SAVER_TITLE, f"{WM_DISPLAYCHANGE}:24:0")
    assert ended_within(poster, 10) and poster.returncode == 0, "the saver window did not take the message"


@check
def ten_layout_changes_keep_the_gdi_objects_and_a_click_on_the_second_monitor_ends_it(desktop):
    with start_covering_saver(desktop, "monitors_layout") as saver:
        before = gdi_objects(desktop, saver.folder)
        # One at a time: each reaches the saver in a frame of its own, and each makes it cover the desk anew.
        for _ in range(10):
            post_display_change(desktop)
        after = gdi_objects(desktop, saver.folder)
        assert after == before, f"GDI objects {before} before ten layout changes, {after} after"
        assert saver.running(), "a layout change ended the saver"
        assert geometry(desktop, saver.wait_for_window()[0]) == VIRTUAL
        assert rings_on_both_monitors(desktop, saver, 15) == {"primary", "second"}
        desktop.xdotool("mousemove", "2600", "500")
        desktop.xdotool("click", "1")
        assert ended_within(saver.process, 1), "a click on the second monitor did not end the saver within 1 s"


if __name__ == "__main__":
    run_check(CHECKS, ENV_NAME)
