#!/usr/bin/python3
"""Drives the real Pelluna.scr under Wine on the test environment's private display."""
import ctypes
import ctypes.util
import os
import shutil
import subprocess
import sys
import time


class Desktop:
    """The Wine prefix, Xvfb display and PulseAudio server of one build tree (tools/testenv); env_name
    names another environment of the tree, such as the two-monitor one."""

    def __init__(self, build_dir, env_name="testenv"):
        self.build_dir = os.path.abspath(build_dir)
        self.env = dict(os.environ)
        env_file = os.path.join(self.build_dir, env_name, "env.sh")
        with open(env_file, encoding="utf-8") as lines:
            for line in lines:
                if line.startswith("export "):
                    name, value = line[len("export "):].strip().split("=", 1)
                    self.env[name] = value.strip('"')
        self.scr = os.path.join(self.build_dir, "Pelluna.scr")
        self.helpers = os.path.join(self.build_dir, "tests", "e2e")
        # What starts from here runs without address randomization (ADDR_NO_RANDOMIZE), as tools/randomization.sh says why.
        libc = ctypes.CDLL(None, use_errno=True)
        wanted = libc.personality(0xFFFFFFFF) | 0x0040000
        if libc.personality(wanted) == -1 or libc.personality(0xFFFFFFFF) != wanted:
            raise SystemExit(f"address randomization cannot be turned off here ({os.strerror(ctypes.get_errno())}): "
                             "Wine would end now and then with status 1 and no word")

    def environment(self, locale="C.UTF-8", **extra):
        env = dict(self.env, LC_ALL=locale, LANG=locale)
        env.update(extra)
        return env

    def install(self, name):
        """A fresh folder holding a copy of Pelluna.scr, so each check has its own Pelluna.ini."""
        folder = os.path.join(self.build_dir, "e2e", name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        shutil.copy(self.scr, folder)
        return folder

    def start(self, program, *args, locale="C.UTF-8", **extra):
        return subprocess.Popen(["wine", program, *args], env=self.environment(locale, **extra),
                                stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def helper(self, name):
        return os.path.join(self.helpers, name + ".exe")

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True)
        return result.stdout.split()

    def windows_titled(self, title):
        """X windows whose name is exactly title (xdotool matches a regular expression)."""
        pattern = "^" + "".join("\\" + c if c in ".^$*+?()[]{}|\\" else c for c in title) + "$"
        return self.xdotool("search", "--name", pattern)

    def foreground_title(self):
        """The title of the window that Windows counts as active: keys typed go to it."""
        report = subprocess.run(["wine", self.helper("pelluna_foreground")], env=self.environment("ja_JP.UTF-8"),
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        return report.stdout.decode("utf-8", "replace").strip()

    def has_focus(self, title):
        focus = self.xdotool("getwindowfocus")
        return bool(focus) and focus[0] in self.windows_titled(title)

    def key_to(self, title, key, seconds=10):
        """Presses key once the window titled title has the keyboard focus (a window shows a moment
        before it takes the keyboard, and a key pressed before goes elsewhere)."""
        assert wait_until(lambda: self.has_focus(title), seconds), f"{title!r} never took the keyboard focus"
        self.xdotool("key", key)


def wait_until(condition, timeout, step=0.05):
    """Polls condition until it holds or timeout seconds pass; returns its last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(step)


def ended_within(process, seconds):
    try:
        process.wait(timeout=seconds)
        return True
    except subprocess.TimeoutExpired:
        return False


def stop(process):
    if process.poll() is None:
        process.kill()
        process.wait()


# The settings file's keys; the Japanese ones are stored in the process's ANSI code page.
INI_KEYS = ("DropsCount", "RippleSpeed", "RippleSize", "BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ")


def write_ini(folder, values, locale):
    """Writes Pelluna.ini beside the installed program, in the code page the program will read it with."""
    code_page = "cp932" if locale.startswith("ja") else "cp1252"
    lines = ["[Section]"] + [f"{key}={value}" for key, value in values.items()]
    with open(os.path.join(folder, "Pelluna.ini"), "wb") as ini:
        ini.write(("\r\n".join(lines) + "\r\n").encode(code_page, errors="replace"))


class SettingsFileKept:
    """A Pelluna.ini with known bytes and an old time stamp; on leaving, both must be as they were."""

    STAMP = 1_000_000_000  # 2001-09-09: any write changes it

    def __init__(self, folder):
        self.path = os.path.join(folder, "Pelluna.ini")
        self.content = "[Section]\r\nDropsCount= 33\r\nRippleSpeed= 90\r\n".encode("ascii")

    def __enter__(self):
        with open(self.path, "wb") as ini:
            ini.write(self.content)
        os.utime(self.path, (self.STAMP, self.STAMP))
        return self

    def __exit__(self, kind, *rest):
        if kind is None:
            with open(self.path, "rb") as ini:
                assert ini.read() == self.content, "the settings file's bytes changed"
            assert os.stat(self.path).st_mtime == self.STAMP, "the settings file was written"


def windows_path(path):
    """The path as a Windows program under Wine sees it."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def screenshot_pixels(desktop, path):
    """The root window as (width, height, RGB bytes)."""
    subprocess.run(["import", "-window", "root", path], env=desktop.env, check=True)
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True, check=True).stdout
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True, check=True).stdout
    width, height = (int(n) for n in size.split())
    return width, height, raw


def sink_inputs(desktop):
    """The PulseAudio playback streams, as the text pactl lists them."""
    result = subprocess.run(["pactl", "list", "sink-inputs"], env=desktop.env, capture_output=True, text=True)
    return [block for block in result.stdout.split("Sink Input #")[1:]]


def streams_of(desktop, process):
    """The playback streams of a process (its Linux id: the wine launcher execs into the program). The
    program's name is no key: the audio server names a stream after the program's version resource."""
    owner = f'application.process.id = "{process.pid}"'
    return [block for block in sink_inputs(desktop) if owner in block]


def check_registry():
    """A table of named checks and the decorator that fills it."""
    checks = {}

    def check(function):
        checks[function.__name__] = function
        return function

    return checks, check


def run_check(checks, env_name="testenv"):
    """Runs the check named on the command line (BUILD_DIR CHECK) against that build's desktop."""
    build_dir, name = sys.argv[1], sys.argv[2]
    checks[name](Desktop(build_dir, env_name))
    print(f"{name}: passed")


def cursor_image(desktop):
    """The mouse cursor that X shows at the pointer (XFixes): width, height, hot spot and whether any of its
    pixels is visible."""
    class CursorImage(ctypes.Structure):
        _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                    ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                    ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                    ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]

    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(desktop.env["DISPLAY"].encode())
    try:
        image = xfixes.XFixesGetCursorImage(display).contents
        pixels = image.width * image.height
        visible = any((image.pixels[i] >> 24) & 0xFF for i in range(pixels))  # any pixel with alpha
        return image.width, image.height, image.xhot, image.yhot, visible
    finally:
        x11.XCloseDisplay(display)


def cursor_visible(desktop):
    """Whether the mouse cursor that X shows at the pointer has any visible pixel (XFixes cursor image)."""
    return cursor_image(desktop)[4]
