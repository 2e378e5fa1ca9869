#!/usr/bin/python3
"""The Command button in its demo host under Wine: the hover look at the first movement, the normal look
back within two polls of leaving, one Click per click, none for a press dragged off or one that went down
elsewhere.
Usage: command_e2e.py BUILD_DIR CHECK"""
import ctypes
import ctypes.util
import os
import struct
import subprocess
import time

from pelluna_e2e import check_registry, run_check, stop, wait_until

DEMO_TITLE = "Pelluna Command demo"
PICTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "resources")
LOOKS = ("normal", "highlight", "pressed", "selected", "disable")
CHECKS, check = check_registry()


def picture_signature(name):
    """The colours of rows 2 and 22 of a state picture's top and bottom strips (each strip is one colour
    along its length there): enough to tell the looks apart; HighLightSelect is HighLight's picture."""
    with open(os.path.join(PICTURES, f"command_{name}.bmp"), "rb") as bmp:
        data = bmp.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    row_bytes = (width * 3 + 3) & ~3

    def pixel(x, y):
        at = offset + (height - 1 - y) * row_bytes + x * 3
        blue, green, red = data[at:at + 3]
        return red, green, blue

    return pixel(32, 2), pixel(32, 22)


class Screen:
    """Reads pixels straight from the X server: a few milliseconds a read, quick enough to time a poll."""

    class XImage(ctypes.Structure):
        _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int)]

    def __init__(self, display_name):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.c_void_p
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                       ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XGetPixel.restype = ctypes.c_ulong
        self.x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self.x11.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(display_name.encode())
        self.root = self.x11.XDefaultRootWindow(self.display)

    def pixels(self, x, y, points):
        """The colours at points (relative to x, y) as (red, green, blue)."""
        width = max(px for px, _ in points) + 1
        height = max(py for _, py in points) + 1
        all_planes, z_pixmap = 0xFFFFFFFF, 2
        image = self.x11.XGetImage(self.display, self.root, x, y, width, height, all_planes, z_pixmap)
        try:
            values = [self.x11.XGetPixel(image, px, py) for px, py in points]
        finally:
            self.x11.XDestroyImage(image)
        return [((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF) for v in values]

    def close(self):
        self.x11.XCloseDisplay(self.display)


class Demo:
    """One run of the demo host, with its Click file and the buttons' places on the screen."""

    def __init__(self, desktop, name):
        self.desktop = desktop
        folder = os.path.join(desktop.build_dir, "e2e", name)
        os.makedirs(folder, exist_ok=True)
        self.clicks = os.path.join(folder, "clicks.txt")
        for path in (self.clicks, self.clicks + ".layout"):
            if os.path.exists(path):
                os.remove(path)
        desktop.xdotool("mousemove", "0", "0")
        program = os.path.join(desktop.build_dir, "tests", "demo", "pelluna_command_demo.exe")
        self.process = desktop.start(program, "Z:" + self.clicks.replace("/", "\\"))
        assert wait_until(lambda: desktop.windows_titled(DEMO_TITLE), 10), "no demo window"
        assert wait_until(lambda: self.read_layout(), 10), "the demo never wrote its layout"
        self.screen = Screen(desktop.env["DISPLAY"])
        self.signatures = {name: picture_signature(name) for name in LOOKS}
        for button in self.buttons:
            assert self.wait_for_look(button, "normal", 5), f"{button} never showed its normal look"

    def read_layout(self):
        try:
            with open(self.clicks + ".layout", encoding="ascii") as layout:
                lines = [line.split() for line in layout.read().splitlines()]
        except FileNotFoundError:
            return False
        if len(lines) != 3:
            return False
        self.buttons = {parts[0]: tuple(int(n) for n in parts[1:]) for parts in lines}
        return True

    def look(self, button):
        """The state picture whose strips the button shows, or None."""
        left, top, width, height = self.buttons[button]
        seen = tuple(self.screen.pixels(left, top, [(width // 2, 2), (width // 2, height - 3)]))
        return next((name for name, signature in self.signatures.items() if signature == seen), None)

    def wait_for_look(self, button, name, seconds):
        return wait_until(lambda: self.look(button) == name, seconds, step=0.005)

    def centre(self, button):
        left, top, width, height = self.buttons[button]
        return left + width // 2, top + height // 2

    def move_to(self, x, y):
        self.desktop.xdotool("mousemove", str(x), str(y))

    def move_over(self, button):
        self.move_to(*self.centre(button))

    def move_off(self, button):
        """Onto the demo window's own background, below the button."""
        left, top, width, height = self.buttons[button]
        self.move_to(left + width // 2, top + height + 12)

    def click_lines(self):
        try:
            with open(self.clicks, encoding="ascii") as clicks:
                return clicks.read().splitlines()
        except FileNotFoundError:
            return []

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        stop(self.process)
        self.screen.close()


def timed(action, condition, seconds):
    """Runs action, then waits for condition; the seconds it took, or None."""
    start = time.monotonic()
    action()
    if not wait_until(condition, seconds, step=0.005):
        return None
    return time.monotonic() - start


# One poll of the hover timer.
POLL = 0.1


@check
def hover_look_shows_at_the_first_movement(desktop):
    with Demo(desktop, "command_hover") as demo:
        took = timed(lambda: demo.move_over("Cmd_Set"), lambda: demo.look("Cmd_Set") == "highlight", 2)
        assert took is not None, f"no hover look, the button shows {demo.look('Cmd_Set')}"
        assert took <= POLL, f"the hover look took {took:.3f} s"
        assert demo.look("Cmd_Can") == "normal"


@check
def normal_look_returns_within_200_ms_of_leaving(desktop):
    with Demo(desktop, "command_leave") as demo:
        demo.move_over("Cmd_Can")
        assert demo.wait_for_look("Cmd_Can", "highlight", 2), "no hover look"
        took = timed(lambda: demo.move_off("Cmd_Can"), lambda: demo.look("Cmd_Can") == "normal", 2)
        assert took is not None, f"the button kept the look {demo.look('Cmd_Can')}"
        assert took <= 2 * POLL, f"the normal look came back after {took:.3f} s"
        # Straight onto the neighbour: it shows its hover look, the first one loses its own at its next poll.
        demo.move_over("Cmd_Set")
        assert demo.wait_for_look("Cmd_Set", "highlight", 2)
        demo.move_over("Cmd_BGM")
        assert demo.wait_for_look("Cmd_BGM", "highlight", 2)
        assert demo.wait_for_look("Cmd_Set", "normal", 2 * POLL)


@check
def a_click_records_one_click(desktop):
    with Demo(desktop, "command_click") as demo:
        demo.move_over("Cmd_Set")
        assert demo.wait_for_look("Cmd_Set", "highlight", 2)
        demo.desktop.xdotool("click", "1")
        assert wait_until(lambda: demo.click_lines(), 3), "no Click recorded"
        # The release shows the hover look of the focused button (HighLightSelect: HighLight's picture).
        assert demo.wait_for_look("Cmd_Set", "highlight", 2), demo.look("Cmd_Set")
        # A Click of another button marks the end: nothing more came from the first click.
        demo.move_over("Cmd_Can")
        demo.desktop.xdotool("click", "1")
        assert wait_until(lambda: len(demo.click_lines()) >= 2, 3), demo.click_lines()
        assert demo.click_lines() == ["Cmd_Set", "Cmd_Can"], demo.click_lines()
        # The first button lost the focus to the second: its normal look again.
        assert demo.wait_for_look("Cmd_Set", "normal", 2)


@check
def a_press_dragged_off_records_none(desktop):
    with Demo(desktop, "command_drag") as demo:
        demo.move_over("Cmd_Set")
        assert demo.wait_for_look("Cmd_Set", "highlight", 2)
        demo.desktop.xdotool("mousedown", "1")
        assert demo.wait_for_look("Cmd_Set", "pressed", 2), demo.look("Cmd_Set")
        demo.move_off("Cmd_Set")
        # The next poll notices the pointer has left: focused, not hovered.
        assert demo.wait_for_look("Cmd_Set", "selected", 2), demo.look("Cmd_Set")
        demo.desktop.xdotool("mouseup", "1")
        demo.move_over("Cmd_Can")
        demo.desktop.xdotool("click", "1")
        assert wait_until(lambda: demo.click_lines(), 3), "the second button recorded no Click"
        assert demo.click_lines() == ["Cmd_Can"], demo.click_lines()


@check
def a_release_whose_press_went_down_elsewhere_records_none(desktop):
    with Demo(desktop, "command_elsewhere") as demo:
        demo.move_off("Cmd_Set")
        demo.desktop.xdotool("mousedown", "1")
        demo.move_over("Cmd_Set")
        assert demo.wait_for_look("Cmd_Set", "highlight", 2), demo.look("Cmd_Set")
        demo.desktop.xdotool("mouseup", "1")
        # A left release over the hovered button shows its normal look: the release has been handled.
        assert demo.wait_for_look("Cmd_Set", "normal", 2), demo.look("Cmd_Set")
        # An ordinary click on the same button marks the end: it alone is recorded.
        demo.desktop.xdotool("click", "1")
        assert wait_until(lambda: demo.click_lines(), 3), "an ordinary click recorded no Click"
        assert demo.click_lines() == ["Cmd_Set"], demo.click_lines()


if __name__ == "__main__":
    run_check(CHECKS)
